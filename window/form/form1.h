#pragma once
// The wizard's one window: 27 fields on 14 pages, navigation, the links
// editor and the commands of the menu and the last page. The writing aids
// and the other commands are composed around it (window/programwindow.h).

#include <array>
#include <functional>
#include <memory>
#include <vector>

#include <QMainWindow>

#include "model/articledocument.h"
#include "platform/platformservices.h"
#include "session/documentsession.h"
#include "window/form/articlefields.h"
#include "window/form/articlehistory.h"

class QAction;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;

namespace vinkring {

class FormLayout;
class KeyPreview;
class LinksEditor;
class PageArea;
class PassingNote;
class WritingMode;

class Form1 final : public QMainWindow, private DocumentView {
    Q_OBJECT

public:
    // AfterFirstPaint builds only the first page before the window is
    // painted, for a quick start: the other pages (and the aids, on
    // pagesBuilt) follow once it stands on the screen, or as soon as anything
    // asks for them (a key, a click, a field, a page, the links).
    enum class Pages { AtOnce, AfterFirstPaint };

    explicit Form1(PlatformServices& services, QWidget* parent = nullptr, Pages pages = Pages::AtOnce);
    ~Form1() override;

    // The document the window holds: the 27 fields (CR LF line ends) and List1.
    const ArticleDocument& document() { return session_.document(); }
    // Puts doc in the window as a new start; no change of the writer's.
    void setDocument(const ArticleDocument& doc) { session_.show(doc); }

    ArticleFields& fields() { return fields_; }
    ArticleHistory& history() { return history_; }
    DocumentSession& session() { return session_; }
    LinksEditor& linksEditor();
    PlatformServices& services() { return services_; }

    qint16 currentPage() const { return CurrentPage; }
    qint16 pageCount() const { return PageCount; }
    bool unsavedChanges() { return session_.unsavedChanges(); }
    QString currentFileName() const { return session_.currentFileName(); }

    // The menus the aids fill: "Bestand", "Beeld", "Opmaak" and "Zoeken".
    QMenu* fileMenu() const { return mnuBestand; }
    QMenu* viewMenu() const { return mnuBeeld; }
    QMenu* formatMenu() const { return mnuOpmaak; }
    QMenu* searchMenu() const { return mnuZoeken; }
    // After the key handler and the page keys: true when it takes the key.
    void addKeyTaker(std::function<bool(const QKeyEvent&)> taker) { takers_.push_back(std::move(taker)); }

    // Builds at once what the first paint did not need.
    void complete();
    // Turns the pages as "<" and ">" do until the page with this index shows.
    void showPage(int index);
    // To the page of a field, the cursor at this place of its text.
    void goToField(std::size_t field, qsizetype offset);
    // Fits the window to the screen again, with the bar below the pages
    // (a status bar) as high as it is now: the window grows and shrinks by
    // the bar's height where it is neither maximized nor on a full screen.
    void fitToScreen();
    // Says briefly, beside the page counter on every page, that a command
    // was done ("Bewaard in guppy.VKV."); the text goes after a few seconds.
    void sayBriefly(const QString& text);
    // With what more gives added once it has run on a worker.
    void sayBriefly(const QString& text, std::function<QString()> more);
    // One section field over the whole window ("Schrijfmodus", F11).
    WritingMode& writingMode() { return *writing_; }
    // Where the menu bar, the counter and the buttons ("<", ">", ">|" and
    // the last page's) stand on the screen: a window over this one leaves them clear.
    QList<QRect> keptClearAreas() const;

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

    // Opens the document given on the command line, as Open reads a file.
    void openAtStartup(const QString& path);
    // Offers the work that a run which did not end normally left behind.
    void offerLeftOverWork();

signals:
    // Every page and field stands: the aids can be composed.
    void pagesBuilt();
    // The window stands on the screen, complete.
    void completed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    // The window up to the first page; complete() adds the rest.
    void buildWindow();
    // A page (Frame1) with its fields, labels and guide text.
    void buildPage(int index);
    void buildOutputButtons(QGroupBox* page);
    void buildMenu();
    bool takeKey(const QKeyEvent& key);

    void setFocusOrder();
    void showCounter();
    void probeApplications();
    // The session's view of the window.
    QString fieldText(std::size_t index) override { return fields_.text(index); }
    QStringList linkLines() override;
    void showDocument(const ArticleDocument& doc, Arrival arrival) override;
    // A change of a field or the links list that is no load of a document.
    void edited(DocumentChange change);
    // An undo or redo changed this part alone: its page shows.
    void showPart(std::size_t part);
    void showRecoveryProblem(const QString& reason);
    // The document's name and its unsaved mark, and a recovery problem.
    void showTitle();
    // The title field, as at the start of the work.
    void focusTitle();
    void drawBanner();
    // The layout at the window's size, and the window's size and place.
    void buildLayout(QWidget* client);
    QString placeFile() const;

    PlatformServices& services_;
    DocumentSession session_;
    ArticleFields fields_;
    ArticleHistory history_{fields_};
    // The design's growth with the interface font; 1 at the default font.
    double scale_ = 1.0;
    // The banner is drawn once the window stands painted.
    bool painted_ = false;
    bool sized_ = false;
    bool watchingForPaint_ = false;
    bool complete_ = false;

    qint16 CurrentPage = 1;
    qint16 PageCount = qint16(kPageCount);
    bool loading_ = false;  // a document is being put in the window

    std::array<QWidget*, kFieldCount> fieldWidgets_{};  // for the layout and the focus order
    std::array<QGroupBox*, kPageCount> Frame1{};
    std::array<QPushButton*, 4> Command1{};
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QLabel* lblCounter = nullptr;
    QLabel* Image1 = nullptr;
    PageArea* pageArea_ = nullptr;
    FormLayout* layout_ = nullptr;
    WritingMode* writing_ = nullptr;
    LinksEditor* links_ = nullptr;
    QMenu* mnuBestand = nullptr;
    QAction* mnuBestandNieuw = nullptr;
    QAction* mnuBestandOpenen = nullptr;
    QAction* mnuBestandBewaren = nullptr;
    QMenu* mnuBeeld = nullptr;
    QMenu* mnuOpmaak = nullptr;
    QMenu* mnuZoeken = nullptr;
    PassingNote* lblKlembord = nullptr;
    PassingNote* lblMelding = nullptr;  // sayBriefly's note beside the counter
    QString recoveryProblem_;
    std::vector<std::function<bool(const QKeyEvent&)>> takers_;
    std::unique_ptr<KeyPreview> keys_;
};

}  // namespace vinkring
