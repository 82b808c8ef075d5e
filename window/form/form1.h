#pragma once
// The wizard's one window: 27 fields on 14 pages, navigation, the links
// editor and the commands of the menu and the last page.

#include <array>
#include <memory>

#include <QMainWindow>

#include "model/articledocument.h"
#include "platform/platformservices.h"
#include "session/documentsession.h"
#include "window/form/fieldbinding.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QPushButton;

namespace vinkring {

class ArticleView;
class ExportCommands;
class Formatting;
class RecentFiles;
class SearchBar;
class KeyPreview;
class LinksEditor;
class LiveSpelling;
class PageArea;
class PassingNote;
class SpellingDictionary;

class Form1 final : public QMainWindow, private DocumentView {
    Q_OBJECT

public:
    // AfterFirstPaint builds only the first page before the window is
    // painted, for a quick start: the other pages and the writing aids follow
    // once it stands on the screen (completed()), or at once when the writer
    // or a command needs them first.
    enum class Pages { AtOnce, AfterFirstPaint };

    // The dictionary underlines doubtful words as the writer types; without
    // one, nothing is underlined.
    explicit Form1(PlatformServices& services, SpellingDictionary* dictionary = nullptr, QWidget* parent = nullptr,
                   Pages pages = Pages::AtOnce);
    ~Form1() override;

    // The document the window holds: the 27 fields (CR LF line ends) and List1.
    const ArticleDocument& document() { return session_.document(); }
    // Puts doc in the window; no change of the writer's.
    void setDocument(const ArticleDocument& doc) { session_.show(doc); }

    QString fieldText(std::size_t index) const override { return fields_.at(index).text(); }
    void setFieldText(std::size_t index, const QString& text) { fields_.at(index).setText(text); }

    qint16 currentPage() const { return CurrentPage; }
    qint16 pageCount() const { return PageCount; }
    bool unsavedChanges() const { return session_.unsavedChanges(); }
    QString currentFileName() const { return session_.currentFileName(); }
    LinksEditor& linksEditor() const { return *links_; }
    LiveSpelling& liveSpelling() const { return *spelling_; }
    ArticleView& articleView() const { return *view_; }
    SearchBar& searchBar() const { return *search_; }
    RecentFiles& recentFiles() const { return *recent_; }

    // Handlers, one per control, array or menu item.
    void Form_Load();
    void Command1_Click(int index);
    void Command5_Click();
    void Command6_Click();
    void mnuBestandNieuw_Click();
    void mnuBestandOpenen_Click();
    void mnuBestandBewaren_Click();
    void Form_KeyDown(int keyCode, int shift);
    void Form_QueryUnload(bool& cancel);

    // Writes to CurrentFileName, or asks for a path when there is none.
    SaveOutcome quickSave() { return session_.quickSave(); }

    // Opens the document given on the command line, as Open reads a file,
    // after asking about unsaved work as Open does.
    void openAtStartup(const QString& path);
    // Offers the work that a run which did not end normally left behind.
    void offerLeftOverWork()
    {
        completeWindow();
        session_.offerLeftOverWork();
    }
    DocumentSession& session() { return session_; }

signals:
    // The window stands on the screen, its pages and writing aids built.
    void completed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The window up to the first page; completeWindow adds the rest.
    void buildWindow();
    void completeWindow();
    void fitToScreen();
    // A page (Frame1) with its fields, labels and guide text.
    void buildPage(int index);
    void buildOutputButtons(QGroupBox* page);
    void buildMenu();
    void buildWritingAids(SpellingDictionary* dictionary);
    // The menu "Opmaak" with its keys.
    void buildFormatting();
    // The search bar and the menu "Zoeken".
    void buildSearch();
    // "Recente bestanden" and documents dropped on the window.
    void buildRecentFiles();

    // Turns the pages as "<" and ">" do until the page with this index shows.
    void showPage(int index);
    void setFocusOrder();
    void showCounter();
    void probeApplications();
    // The session's view of the window (with fieldText).
    QStringList linkLines() const override;
    void showDocument(const ArticleDocument& doc) override;
    // A change of a field or the links list that is no load of a document.
    void edited(DocumentChange change);
    void showRecoveryProblem(const QString& reason);
    void drawBanner();
    // To the page of a field, the cursor at this place of its text (CR LF
    // line ends), as a click in the live view asks.
    void goToField(std::size_t index, qsizetype offset);

    PlatformServices& services_;
    DocumentSession session_;
    // The design's growth with the interface font; 1 at the default font.
    double scale_ = 1.0;
    // The banner's scale; it is drawn once the window stands painted.
    double bannerScale_ = 1.0;
    bool painted_ = false;
    bool watchingForPaint_ = false;
    bool complete_ = false;
    SpellingDictionary* dictionary_ = nullptr;

    qint16 CurrentPage = 1;
    qint16 PageCount = qint16(kPageCount);
    bool loading_ = false;  // a document is being put in the window

    std::array<FieldBinding, kFieldCount> fields_{};
    std::array<QGroupBox*, kPageCount> Frame1{};
    std::array<QPushButton*, 4> Command1{};
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QLabel* lblCounter = nullptr;
    QLabel* Image1 = nullptr;
    PageArea* pageArea_ = nullptr;
    LinksEditor* links_ = nullptr;
    QAction* mnuBestandNieuw = nullptr;
    QAction* mnuBestandOpenen = nullptr;
    QAction* mnuBestandBewaren = nullptr;
    QMenu* mnuBeeld = nullptr;
    QMenu* mnuOpmaak = nullptr;
    QMenu* mnuZoeken = nullptr;
    PassingNote* lblKlembord = nullptr;
    LiveSpelling* spelling_ = nullptr;
    ArticleView* view_ = nullptr;
    Formatting* formatting_ = nullptr;
    SearchBar* search_ = nullptr;
    RecentFiles* recent_ = nullptr;
    std::unique_ptr<KeyPreview> keys_;
    std::unique_ptr<ExportCommands> exports_;  // "Exporteren..." and "Importeren uit forumtekst..."
};

}  // namespace vinkring
