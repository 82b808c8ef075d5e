#pragma once
// The program's window: Form1 with the aids composed around it, on the
// fields, the history, the session and the platform. app/main.cpp, the
// benchmarks and the tests start the window through this.

#include <memory>

#include "platform/platformservices.h"
#include "window/form/form1.h"

namespace vinkring {

class ArticleCheckList;
class ArticleView;
class ExportCommands;
class Formatting;
class LiveSpelling;
class RecentFiles;
class SearchBar;
class SpellingDictionary;

class ProgramWindow {
public:
    // The dictionary underlines doubtful words as the writer types; without
    // one, nothing is underlined. With Pages::AfterFirstPaint the aids are
    // composed when the window's pages are built.
    explicit ProgramWindow(PlatformServices& services, SpellingDictionary* dictionary = nullptr,
                           Form1::Pages pages = Form1::Pages::AtOnce);
    ~ProgramWindow();
    ProgramWindow(const ProgramWindow&) = delete;
    ProgramWindow& operator=(const ProgramWindow&) = delete;

    Form1& form() { return *form_; }
    // Each completes the window first.
    LiveSpelling& liveSpelling();
    ArticleView& articleView();
    Formatting& formatting();
    SearchBar& searchBar();
    ArticleCheckList& articleCheck();
    RecentFiles& recentFiles() { return *recent_; }
    ExportCommands& exports() { return *exports_; }

private:
    void composeAids();

    PlatformServices& services_;
    SpellingDictionary* dictionary_;
    std::unique_ptr<Form1> form_;
    std::unique_ptr<ExportCommands> exports_;
    std::unique_ptr<RecentFiles> recent_;
    std::unique_ptr<LiveSpelling> spelling_;
    std::unique_ptr<ArticleView> view_;
    std::unique_ptr<Formatting> formatting_;
    std::unique_ptr<SearchBar> search_;
    std::unique_ptr<ArticleCheckList> check_;
};

}  // namespace vinkring
