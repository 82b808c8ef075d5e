// The window at larger interface fonts and on every screen: every text fits
// its control, the controls keep apart, everything stays inside the window
// and the window and its dialogs inside the screen; a larger window gives
// its room to the section fields.
#include "formfixture.h"
#include "eventually.h"

#include <functional>
#include <map>
#include <ostream>

#include <QMessageBox>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include "window/dialogs/qtfiledialog.h"
#include "window/dialogs/qtmessagebox.h"
#include "window/dialogs/spellingdialog.h"
#include "window/form/fontlayout.h"

using namespace vinkring;
using namespace vinkring::test;

namespace {

// The interface font set as a desktop sets it (the application font) or as a
// style sheet does ("* {font-size: ...}", as a user's theme may).
struct FontCase {
    const char* name;
    double points;
    bool styleSheet;
};

void PrintTo(const FontCase& c, std::ostream* os)
{
    *os << c.name;
}

class FontLayout : public FormTest, public ::testing::WithParamInterface<FontCase> {
protected:
    void SetUp() override
    {
        savedFont_ = QApplication::font();
        if (GetParam().styleSheet) {
            qApp->setStyleSheet(QStringLiteral("* { font-size: %1pt; }").arg(GetParam().points));
        } else {
            QFont font = savedFont_;
            font.setPointSizeF(GetParam().points);
            QApplication::setFont(font);
        }
        form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    }

    void TearDown() override
    {
        qApp->setStyleSheet(QString());
        QApplication::setFont(savedFont_);
    }

    // Every page in turn, the last one with its buttons enabled.
    template <typename Check>
    void onEveryPage(Check check)
    {
        provide(texts::kProgIdBrowser);
        provide(texts::kProgIdSpreadsheet);
        for (int n = 1; n <= 14; ++n) {
            SCOPED_TRACE(QStringLiteral("page %1").arg(n - 1).toStdString());
            ASSERT_EQ(form().currentPage(), n);
            check(page(n - 1));
            form().Command1_Click(1);
        }
    }

private:
    QFont savedFont_;
};

// The text of a label as drawn, fits inside it.
void expectFits(const QLabel* label)
{
    SCOPED_TRACE(label->objectName().toStdString());
    const QFontMetrics fm(label->font());
    if (label->wordWrap()) {
        EXPECT_LE(label->heightForWidth(label->width()), label->height()) << label->text().toStdString();
        return;
    }
    const QSize text = fm.size(Qt::TextShowMnemonic, label->text());
    EXPECT_LE(text.width(), label->width()) << label->text().toStdString();
    EXPECT_LE(text.height(), label->height()) << label->text().toStdString();
}

// A button's caption fits inside the part of it the style keeps for it.
void expectFits(QPushButton* button)
{
    SCOPED_TRACE(button->objectName().toStdString());
    QStyleOptionButton option;
    option.initFrom(button);
    option.text = button->text();
    const QRect contents = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
    const QSize text = QFontMetrics(button->font()).size(Qt::TextShowMnemonic, button->text());
    EXPECT_LE(text.width(), contents.width()) << button->text().toStdString();
    EXPECT_LE(text.height(), contents.height()) << button->text().toStdString();
}

// The controls on a page, in the page's pixels; the links editor counts by
// its controls, not as one.
std::vector<std::pair<QWidget*, QRect>> controlsOf(QGroupBox* page)
{
    std::vector<std::pair<QWidget*, QRect>> controls;
    for (QWidget* w : page->findChildren<QWidget*>()) {
        const bool control = qobject_cast<QLabel*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QPlainTextEdit*>(w) || qobject_cast<QPushButton*>(w) ||
                             qobject_cast<QListWidget*>(w);
        if (control && !w->objectName().isEmpty())
            controls.push_back({w, QRect(w->mapTo(page, QPoint(0, 0)), w->size())});
    }
    return controls;
}

TEST_P(FontLayout, EveryTextFitsItsControl)
{
    onEveryPage([&](QGroupBox* shown) {
        for (QLabel* label : shown->findChildren<QLabel*>())
            expectFits(label);
        for (QPushButton* button : shown->findChildren<QPushButton*>())
            expectFits(button);
        EXPECT_LE(QFontMetrics(shown->font()).horizontalAdvance(shown->title()), shown->contentsRect().width());
        expectFits(child<QLabel>("lblCounter"));
    });
    for (int i : {0, 1, 3})
        expectFits(command1(i));
}

TEST_P(FontLayout, ControlsOfAPageKeepApartInsideIt)
{
    onEveryPage([&](QGroupBox* shown) {
        const auto controls = controlsOf(shown);
        EXPECT_GE(controls.size(), 2u);
        for (std::size_t i = 0; i < controls.size(); ++i) {
            const auto& [widget, rect] = controls[i];
            EXPECT_TRUE(shown->contentsRect().contains(rect)) << widget->objectName().toStdString();
            for (std::size_t j = i + 1; j < controls.size(); ++j) {
                EXPECT_FALSE(rect.intersects(controls[j].second))
                    << widget->objectName().toStdString() << " overlaps "
                    << controls[j].first->objectName().toStdString();
            }
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Sizes, FontLayout,
                         ::testing::Values(FontCase{"Default9pt", 9, false}, FontCase{"Desktop14pt", 14, false},
                                           FontCase{"StyleSheet20pt", 20, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---------------------------------------------------------------- screens

// A font (as a desktop sets it) and one of the screens of screens.json.
struct ScreenCase {
    const char* name;
    double points;
    QSize screen;
};

void PrintTo(const ScreenCase& c, std::ostream* os)
{
    *os << c.name;
}

QRect onScreen(const QWidget* w)
{
    return {w->mapToGlobal(QPoint(0, 0)), w->size()};
}

// The modal dialog that open() shows: inside the screen with its buttons,
// as wide as its title with a title bar's buttons (a message box); then it
// is closed.
void expectDialogOnScreen(const QRect& screen, const char* what, const std::function<void()>& open)
{
    SCOPED_TRACE(what);
    bool seen = false;
    // Some open a moment after the command.
    QTimer look;
    look.setInterval(10);
    QObject::connect(&look, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        look.stop();
        seen = true;
        EXPECT_TRUE(screen.contains(dialog->frameGeometry()))
            << dialog->frameGeometry().x() << "," << dialog->frameGeometry().y() << " " << dialog->width() << "x"
            << dialog->height();
        for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
            if (button->isVisible()) {
                EXPECT_TRUE(screen.contains(onScreen(button))) << button->text().toStdString();
            }
        }
        if (qobject_cast<QMessageBox*>(dialog)) {
            QFont bold = dialog->font();
            bold.setBold(true);
            const int bar = dialog->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, dialog);
            EXPECT_GE(dialog->width(), QFontMetrics(bold).horizontalAdvance(dialog->windowTitle()) + 3 * bar);
            // Its text wraps within it, a long path too.
            const auto* text = dialog->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            EXPECT_LE(text->minimumSizeHint().width(), text->width());
        }
        dialog->reject();
    });
    look.start();
    open();
    EXPECT_EVENTUALLY(seen);
}

class EveryScreen : public FormTest, public ::testing::WithParamInterface<ScreenCase> {
protected:
    void SetUp() override
    {
        savedFont_ = QApplication::font();
        QFont font = savedFont_;
        font.setPointSizeF(GetParam().points);
        QApplication::setFont(font);
        for (QScreen* s : QGuiApplication::screens()) {
            if (s->size() == GetParam().screen)
                screen_ = s;
        }
        ASSERT_NE(screen_, nullptr);
        provide(texts::kProgIdBrowser);
        provide(texts::kProgIdSpreadsheet);
        form().setScreen(screen_);
        form().move(screen_->availableGeometry().topLeft());
        form().show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
        QApplication::setActiveWindow(&form());
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }

    void TearDown() override { QApplication::setFont(savedFont_); }

    QRect available() const { return screen_->availableGeometry(); }

    // On every page: the window inside the screen, every control inside its
    // page and the page as wide as the area it scrolls in; with fiveLines,
    // five lines of each section field in view once it has the focus.
    void expectEveryPageFits(bool fiveLines)
    {
        EXPECT_TRUE(available().contains(form().frameGeometry()));
        QWidget* client = form().centralWidget();
        for (QWidget* part : client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (part->isVisible()) {
                EXPECT_TRUE(client->rect().contains(part->geometry())) << part->objectName().toStdString();
            }
        }
        auto* area = child<QScrollArea>("pageArea");
        for (int n = 0; n < 14; ++n) {
            SCOPED_TRACE(QStringLiteral("page %1").arg(n).toStdString());
            form().showPage(n);
            QGroupBox* shown = page(n);
            EXPECT_EQ(shown->width(), area->viewport()->width());
            EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0);
            for (QWidget* w : shown->findChildren<QWidget*>()) {
                if (w->isVisible() && !w->objectName().isEmpty()) {
                    EXPECT_TRUE(shown->contentsRect().contains(QRect(w->mapTo(shown, QPoint()), w->size())))
                        << w->objectName().toStdString();
                }
            }
            if (!fiveLines)
                continue;
            for (QPlainTextEdit* field : shown->findChildren<QPlainTextEdit*>()) {
                field->setFocus();
                const QRect seen = onScreen(field->viewport()).intersected(onScreen(area->viewport()));
                EXPECT_GE(seen.height(), 5 * field->fontMetrics().lineSpacing()) << field->objectName().toStdString();
            }
        }
    }

    QScreen* screen_ = nullptr;

private:
    QFont savedFont_;
};

// As it opens and maximized: everything inside the window and the screen,
// nothing to scroll sideways to; maximized, five lines of every section
// field; every dialog with its buttons on the screen.
TEST_P(EveryScreen, WindowAndDialogsFitWithFiveLinesOfEverySection)
{
    EXPECT_EVENTUALLY(available().contains(form().frameGeometry()));
    expectEveryPageFits(false);
    form().showMaximized();
    EXPECT_EVENTUALLY(form().frameGeometry() == available());
    expectEveryPageFits(true);

    QtMessageBox messages(&form());
    const QString offer = toQString(messages::kRecoveryOffer)
                              .arg(toQString(messages::kRecoveryTime).arg(QStringLiteral("12 maart 2024 14:03")),
                                   toQString(messages::kRecoveryFile)
                                       .arg(QStringLiteral("/home/schrijver/Documenten/Artikelen/Vissen van de week/"
                                                           "Danio rerio, de zebravis.vkv")));
    expectDialogOnScreen(available(), "recovery offer", [&] {
        messages.show(offer, toQString(texts::kMessageTitle), MessageIcon::Information, MessageButtons::YesNoCancel,
                      QString());
    });
    expectDialogOnScreen(available(), "message", [&] {
        messages.show(toQString(messages::kSpellingComplete), toQString(texts::kMessageTitle), MessageIcon::Information,
                      MessageButtons::Ok, QString());
    });
    QString path;
    for (int i = 0; i < 12; ++i)
        path += QStringLiteral("/VissenVanDeWeekUitHetJaarTweeduizendEnNogWatInDeMapNummer%1").arg(i + 10);
    expectDialogOnScreen(available(), "long path", [&] {
        messages.show(path + QStringLiteral("/zebravis.txt"), toQString(texts::kMessageTitle), MessageIcon::Exclamation,
                      MessageButtons::Ok, QString());
    });
    expectDialogOnScreen(available(), "spelling", [&] {
        SpellingDialog dialog({QStringLiteral("zwmt"), QStringLiteral("De vis zwmt snel."), 7,
                               {QStringLiteral("zwemt"), QStringLiteral("zwamt")}, QStringLiteral("Vindplaats")},
                              &form());
        dialog.exec();
    });
    form().showPage(1);
    QWidget* field = child<QWidget>("txtInleiding");
    field->setFocus();
    expectDialogOnScreen(available(), "link", [&] { QTest::keyClick(field, Qt::Key_K, Qt::ControlModifier); });
    QtFileDialog files(&form());
    FileDialogRequest open;
    open.title = QStringLiteral("Bestand Openen");
    open.filterDescription = QStringLiteral("Vinkring Vis");
    open.filterPattern = QStringLiteral("*.VKV");
    expectDialogOnScreen(available(), "file", [&] { files.showOpen(open); });
}

INSTANTIATE_TEST_SUITE_P(
    Screens, EveryScreen,
    ::testing::Values(ScreenCase{"Netbook9pt", 9, {1024, 600}}, ScreenCase{"Netbook14pt", 14, {1024, 600}},
                      ScreenCase{"Netbook20pt", 20, {1024, 600}}, ScreenCase{"Laptop9pt", 9, {1366, 768}},
                      ScreenCase{"Laptop14pt", 14, {1366, 768}}, ScreenCase{"Laptop20pt", 20, {1366, 768}},
                      ScreenCase{"Wide9pt", 9, {1920, 1080}}, ScreenCase{"Wide14pt", 14, {1920, 1080}},
                      ScreenCase{"Wide20pt", 20, {1920, 1080}}),
    [](const auto& info) { return std::string(info.param.name); });

// At the default font a larger window gives every extra pixel to the section
// fields: its width to the controls across the page, its height shared by
// the page's fields (none to the margins below); back at the designed size,
// the page is as designed.
TEST_F(FormTest, LargerWindowGivesItsRoomToTheSectionFields)
{
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form()));
    form().showPage(2);
    QGroupBox* shown = page(2);
    const auto places = [shown] {
        std::map<QString, QRect> at;
        for (QWidget* w : shown->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
            at[w->objectName()] = w->geometry();
        return at;
    };
    const std::map<QString, QRect> designed = places();
    const QRect last = command1(3)->geometry();
    const QSize more(300, 240);
    form().resize(form().size() + more);
    ASSERT_EVENTUALLY(form().centralWidget()->size() == QSize(790, 541) + more);

    const std::map<QString, QRect> grown = places();
    int fieldsGrew = 0;
    int lowest = 0;
    for (const char* name : {"txtUitlegNaam", "txtBeschrijver", "txtFamilie", "Label5", "Label7", "Label8", "Label1"}) {
        SCOPED_TRACE(name);
        const QRect before = designed.at(QString::fromLatin1(name));
        const QRect after = grown.at(QString::fromLatin1(name));
        EXPECT_EQ(after.left(), before.left());
        EXPECT_EQ(after.width(), before.width() + more.width());
        if (name[0] == 't') {
            EXPECT_NEAR(after.height() - before.height(), more.height() / 3, 25);
            fieldsGrew += after.height() - before.height();
            lowest = std::max(lowest, after.bottom());
        } else if (name != std::string("Label1")) {
            EXPECT_EQ(after.height(), before.height());
        }
    }
    const int guideGave = designed.at(QStringLiteral("Label1")).height() - grown.at(QStringLiteral("Label1")).height();
    EXPECT_EQ(fieldsGrew, more.height() + guideGave);
    EXPECT_EQ(shown->height() - lowest, 369 - designed.at(QStringLiteral("txtFamilie")).bottom());
    EXPECT_EQ(command1(3)->geometry(), last.translated(more.width(), more.height()));
    EXPECT_EQ(child<QWidget>("Image1")->geometry(), QRect(64 + more.width() / 2, 8, 625, 90));

    form().resize(form().size() - more);
    ASSERT_EVENTUALLY(form().centralWidget()->size() == QSize(790, 541));
    EXPECT_EQ(places(), designed);
    EXPECT_EQ(command1(3)->geometry(), last);
}

TEST(WindowScale, FollowsTheFontsSizeAndNeverShrinks)
{
    QFont font;
    font.setPointSizeF(9);
    EXPECT_DOUBLE_EQ(windowScale(font, 96), 1.0);
    font.setPointSizeF(18);
    EXPECT_DOUBLE_EQ(windowScale(font, 96), 2.0);
    font.setPixelSize(15);
    EXPECT_DOUBLE_EQ(windowScale(font, 96), 1.25);
    font.setPointSizeF(7);
    EXPECT_DOUBLE_EQ(windowScale(font, 96), 1.0);
    // The same 9 points on a screen of more dots to the inch.
    font.setPointSizeF(9);
    EXPECT_DOUBLE_EQ(windowScale(font, 120), 1.25);
}

}  // namespace
