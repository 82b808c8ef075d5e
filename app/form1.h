#pragma once
// The wizard's one window: 27 fields on 14 pages, navigation, the links
// editor and the commands of the menu and the last page.

#include <array>
#include <memory>

#include <QMainWindow>
#include <QPointer>

#include "app/articledocument.h"
#include "document/documentcommands.h"
#include "platform/platformservices.h"

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QPlainTextEdit;

namespace vinkring {

// Modifier bits of the key handler.
constexpr int kShiftMask = 1;
constexpr int kCtrlMask = 2;
constexpr int kAltMask = 4;
constexpr int kKeyCodeS = 83;

class Form1 final : public QMainWindow, private DocumentHost {
    Q_OBJECT

public:
    explicit Form1(PlatformServices& services, QWidget* parent = nullptr);
    ~Form1() override;

    // The document the window holds: the 27 fields (CR LF line ends) and List1.
    ArticleDocument document() const;
    void setDocument(const ArticleDocument& doc);

    QString fieldText(std::size_t index) const;
    void setFieldText(std::size_t index, const QString& text);

    qint16 currentPage() const { return CurrentPage; }
    qint16 pageCount() const { return PageCount; }
    bool unsavedChanges() const { return UnsavedChanges; }
    QString currentFileName() const override { return CurrentFileName; }

    // Handlers, one per control, array or menu item.
    void Form_Load();
    void Command1_Click(int index);
    void Command5_Click();
    void Command6_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void List1_Click();
    void mnuBestandNieuw_Click();
    void mnuBestandOpenen_Click();
    void mnuBestandBewaren_Click();
    void Form_KeyDown(int keyCode, int shift);
    void Form_QueryUnload(bool& cancel);

    // Writes to CurrentFileName, or asks for a path when there is none.
    SaveOutcome quickSave();

    // Opens the document given on the command line, as Open reads a file.
    void openAtStartup(const QString& path);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    struct Field {
        QLineEdit* line = nullptr;
        QPlainTextEdit* multi = nullptr;
        // The exact text last set, kept only when the widget cannot give it
        // back as it was (lone CR or LF, separators): shown is what it gives.
        QString exact;
        QString shown;
        bool shadowed = false;
    };

    ArticleDocument currentDocument() const override { return document(); }
    void applyDocument(const ArticleDocument& doc) override { setDocument(doc); }
    void setCurrentFileName(const QString& path) override { CurrentFileName = path; }

    void buildWindow();
    void buildPage(int index);
    void buildLinkEditor(QGroupBox* page);
    void buildOutputButtons(QGroupBox* page);
    void buildMenu();
    void setFocusOrder();
    void showCounter();
    void probeApplications();
    void warn(const QString& text);
    QString widgetText(const Field& field) const;

    PlatformServices& services_;
    DocumentCommands documents_;

    qint16 CurrentPage = 1;
    qint16 PageCount = 0;
    QString CurrentFileName;
    bool UnsavedChanges = false;

    std::array<Field, kFieldCount> fields_{};
    std::array<QGroupBox*, kPageCount> Frame1{};
    std::array<QPushButton*, 4> Command1{};
    QPushButton* Command2 = nullptr;
    QPushButton* Command3 = nullptr;
    QPushButton* Command4 = nullptr;
    QPushButton* Command5 = nullptr;
    QPushButton* Command6 = nullptr;
    QLabel* lblCounter = nullptr;
    QLabel* Image1 = nullptr;
    QLineEdit* txtURL = nullptr;
    QLineEdit* txtLinkOMS = nullptr;
    QListWidget* List1 = nullptr;
    QAction* mnuBestandNieuw = nullptr;
    QAction* mnuBestandOpenen = nullptr;
    QAction* mnuBestandBewaren = nullptr;

    // A key the focused control ignores travels on to its parents; the key
    // handler counts it once.
    const QEvent* lastKey_ = nullptr;
    QPointer<QObject> lastKeyTarget_;
    quint64 lastKeyTime_ = 0;
};

// The key code the key handler is given for a Qt key.
int vbKeyCode(int qtKey);

}  // namespace vinkring
