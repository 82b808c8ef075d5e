// "Voorbeeld van het artikel": the live view of the forum post beside the
// window, on fake platform services.
#include <gtest/gtest.h>

#include <random>

#include <QAction>
#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>

#include "article/articlebuilder.h"
#include "article/forumpost.h"
#include "fakes/fakeplatform.h"
#include "window/aids/articleview.h"
#include "window/aids/viewplacement.h"
#include "window/form/form1.h"
#include "window/programwindow.h"
#include "eventually.h"
#include "samples.h"

namespace vinkring::test {
namespace {

class ArticleViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        program = std::make_unique<ProgramWindow>(platform.services);
        form = &program->form();
        view = &program->articleView();
        view->setLinkOpener([this](const QUrl& url) { opened << url; });
        form->show();
        activateForm();
    }

    void activateForm()
    {
        QApplication::setActiveWindow(form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(form));
    }

    void open()
    {
        form->findChild<QAction*>(QStringLiteral("mnuBeeldVoorbeeld"))->trigger();
        ASSERT_TRUE(view->isVisible());
    }

    QTextDocument* shown() const { return view->textView()->document(); }
    QStringList shownLines() const { return shown()->toPlainText().split(u'\n'); }

    // The character format in the middle of the first place the text is shown.
    QTextCharFormat formatOf(const QString& text) const
    {
        const QTextCursor found = shown()->find(text);
        EXPECT_FALSE(found.isNull()) << text.toStdString();
        QTextCursor at(shown());
        at.setPosition(found.selectionStart() + 1);
        return at.charFormat();
    }

    QRect lineRect(const QString& text) const
    {
        const QTextCursor found = shown()->find(text);
        EXPECT_FALSE(found.isNull()) << text.toStdString();
        const QRectF block = shown()->documentLayout()->blockBoundingRect(found.block());
        return block.toRect().translated(0, -view->textView()->verticalScrollBar()->value());
    }

    bool inView(const QString& text) const
    {
        const QRect rect = lineRect(text);
        return rect.top() >= 0 && rect.bottom() <= view->textView()->viewport()->height();
    }

    // "12.345 woorden, 67.890 tekens" as two numbers.
    std::pair<int, int> counts() const
    {
        const QStringList parts = view->sizeText().remove(u'.').split(u' ');
        EXPECT_EQ(parts.size(), 4) << view->sizeText().toStdString();
        return {parts.value(0).toInt(), parts.value(2).toInt()};
    }

    ArticleDocument sample() { return test::zebravis(form->document()); }

    FakePlatform platform;
    std::unique_ptr<ProgramWindow> program;
    Form1* form = nullptr;
    ArticleView* view = nullptr;
    QList<QUrl> opened;
};

// The wizard at its designed size in the middle of a laptop's screen: beside
// it, narrower, where a side has room; else over it, clear of its menu bar,
// counter and buttons.
TEST(ViewPlacement, BesideTheWizardWhereASideHasRoomElseClearOfItsControls)
{
    // With a frame's part.
    const QSize wanted(368, 500);
    const QSize smallest = ArticleView::kSmallest + QSize(8, 30);
    const struct {
        int screenWidth;
        bool beside;
    } screens[] = {{1366, true}, {1024, false}};
    for (const auto& s : screens) {
        SCOPED_TRACE(s.screenWidth);
        const QRect screen(0, 0, s.screenWidth, 768);
        const QRect wizard((s.screenWidth - 792) / 2, 99, 792, 570);
        const QPoint client = wizard.topLeft() + QPoint(1, 25);
        const QList<QRect> keep = {
            QRect(client, QSize(790, 22)),                    // the menu bar
            QRect(client + QPoint(608, 126), QSize(177, 17)),  // the counter
            QRect(client + QPoint(608, 534), QSize(177, 25)),  // "<", ">", ">|"
            QRect(client + QPoint(24, 238), QSize(129, 25)),   // "Preview in IE"
        };
        const QRect place = placeBeside(wizard, screen, wanted, smallest, keep);
        EXPECT_TRUE(screen.contains(place));
        EXPECT_GE(place.width(), smallest.width());
        EXPECT_GE(place.height(), smallest.height());
        EXPECT_EQ(place.intersects(wizard), !s.beside);
        for (const QRect& kept : keep)
            EXPECT_FALSE(place.intersects(kept));
    }
}

TEST_F(ArticleViewTest, OpenedAndClosedFromTheMenu)
{
    QAction* item = view->toggleAction();
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(item->isChecked());
    open();
    EXPECT_TRUE(item->isChecked());
    EXPECT_TRUE(view->isWindow());
    EXPECT_EQ(view->windowTitle(), QStringLiteral("Voorbeeld van het artikel"));
    EXPECT_EQ(view->windowModality(), Qt::NonModal);
    EXPECT_EQ(view->parentWidget(), form) << "goes with the window";
    item->trigger();
    EXPECT_FALSE(view->isVisible());

    open();
    view->close();
    EXPECT_FALSE(view->isVisible());
    EXPECT_FALSE(item->isChecked()) << "closed by the writer";
}

TEST_F(ArticleViewTest, ShowsThePostAsTheForumShowsIt)
{
    ArticleDocument doc = sample();
    // From a file written elsewhere: characters a text document would take for structure.
    doc.field("txtBouw") = QStringLiteral("een\u2029twee\uFFFC");
    form->setDocument(doc);
    open();
    const QString forum = BuildArticle(doc, ArticleFlavour::Forum);
    const QStringList lines = shownLines();
    EXPECT_EQ(lines.size(), forum.count(QStringLiteral("\r\n")) + 1) << "every line end a line";
    EXPECT_EQ(lines.mid(0, 10), (QStringList{"Zebravis", "", "Geschreven door: René", "", "1. Inleiding",
                                              "1.1 Aanleiding tot het schrijven van het artikel", "Eerste regel.",
                                              "Tweede & derde.", "", "2. Achtergrond"}));
    EXPECT_TRUE(lines.contains(QStringLiteral("een twee\uFFFD")));
    EXPECT_EQ(lines.mid(lines.size() - 4),
              (QStringList{"7. Links ", "Soortbeschrijving", "kweek.htm", ""}));

    EXPECT_EQ(formatOf(QStringLiteral("Zebravis")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(QStringLiteral("Geschreven")).fontItalic());
    EXPECT_TRUE(formatOf(QStringLiteral("1.1 Aanleiding")).fontUnderline());
    EXPECT_EQ(formatOf(QStringLiteral("derde")).fontWeight(), QFont::Bold);
    EXPECT_NE(formatOf(QStringLiteral("Tweede")).fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatOf(QStringLiteral("Tweede")).isAnchor());

    const QTextCharFormat link = formatOf(QStringLiteral("Soortbeschrijving"));
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), QStringLiteral("http://zebravis.htm"));
    EXPECT_EQ(formatOf(QStringLiteral("kweek.htm")).anchorHref(), QStringLiteral("http://kweek.htm"));
}

TEST_F(ArticleViewTest, NoMarkupOfTheWritersRuns)
{
    ArticleDocument doc = form->document();
    const QString markup = QStringLiteral("<script>alert(1)</script><img src=x onerror=alert(1)>"
                                          "<a href=\"javascript:alert(1)\">a</a><style>*{color:red}</style>");
    doc.field("txtInleiding") = markup + QStringLiteral("[URL=javascript:alert(1)]klik[/URL]");
    doc.links << QStringLiteral("Kwaad, javascript:alert(2)");
    form->setDocument(doc);
    open();
    const QStringList lines = shownLines();
    EXPECT_TRUE(lines.contains(markup + QStringLiteral("klik"))) << "shown as it stands";
    EXPECT_TRUE(lines.contains(QStringLiteral("Kwaad")));
    for (QTextBlock block = shown()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            EXPECT_FALSE(format.isImageFormat());
            EXPECT_FALSE(format.isAnchor()) << it.fragment().text().toStdString();
        }
    }
    EXPECT_FALSE(view->textView()->openLinks());
}

TEST_F(ArticleViewTest, LinksOpenOnlyWhenClicked)
{
    form->setDocument(sample());
    open();
    EXPECT_TRUE(opened.isEmpty());
    view->textView()->verticalScrollBar()->setValue(view->textView()->verticalScrollBar()->maximum());
    const QTextCursor found = shown()->find(QStringLiteral("Soortbeschrijving"));
    QTextCursor middle(shown());
    middle.setPosition(found.selectionStart() + 4);
    const QPoint at = view->textView()->cursorRect(middle).center();
    QTest::mouseClick(view->textView()->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(opened, QList<QUrl>{QUrl(QStringLiteral("http://zebravis.htm"))});
}

TEST_F(ArticleViewTest, FollowsTheWriting)
{
    open();
    activateForm();
    form->Command1_Click(1);
    auto* field = form->findChild<QPlainTextEdit*>(QStringLiteral("txtInleiding"));
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("Mijn eerste zin."));
    QTest::keyClick(field, Qt::Key_Return);
    QTest::keyClicks(field, QStringLiteral("Tweede zin."));
    EXPECT_EVENTUALLY(shownLines().contains(QStringLiteral("Tweede zin.")));
    EXPECT_TRUE(shownLines().contains(QStringLiteral("Mijn eerste zin.")));

    // The links list as well.
    for (int i = 2; i <= 12; ++i)
        form->Command1_Click(1);
    form->findChild<QLineEdit*>(QStringLiteral("txtURL"))->setText(QStringLiteral("https://vinkring.nl"));
    form->findChild<QLineEdit*>(QStringLiteral("txtLinkOMS"))->setText(QStringLiteral("Het forum"));
    form->findChild<QPushButton*>(QStringLiteral("Command2"))->click();
    EXPECT_EVENTUALLY(shownLines().contains(QStringLiteral("Het forum")));
    EXPECT_EQ(formatOf(QStringLiteral("Het forum")).anchorHref(), QStringLiteral("https://vinkring.nl"));

    // Hidden, it waits; shown again, it is up to date at once.
    view->toggleAction()->trigger();
    form->fields().setText(*fieldIndex("txtConclusie"), QStringLiteral("Tot slot."));
    QApplication::processEvents();
    EXPECT_FALSE(shownLines().contains(QStringLiteral("Tot slot.")));
    view->toggleAction()->trigger();
    EXPECT_TRUE(shownLines().contains(QStringLiteral("Tot slot.")));
}

TEST_F(ArticleViewTest, TheReaderKeepsThePlace)
{
    ArticleDocument doc = sample();
    for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i)
        doc.fields[i] = QStringLiteral("Regel een.\r\nRegel twee.\r\nRegel drie.");
    form->setDocument(doc);
    open();
    // Reading, not writing: the focus is in no field.
    form->findChildren<QPushButton*>(QStringLiteral("Command1")).value(1)->setFocus();
    QScrollBar* bar = view->textView()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    // Reading chapter 5.
    bar->setValue(lineRect(QStringLiteral("5. Kweek")).top() + bar->value());
    const int before = lineRect(QStringLiteral("5. Kweek")).top();

    // Text grows above it, and in it.
    form->fields().setText(*fieldIndex("txtInleiding"), QStringLiteral("Nieuw.\r\nNog meer.\r\nEn meer.\r\nEn meer."));
    EXPECT_EVENTUALLY(shownLines().contains(QStringLiteral("Nog meer.")));
    EXPECT_EQ(lineRect(QStringLiteral("5. Kweek")).top(), before);
    form->fields().setText(*fieldIndex("txtKweekNatuur"), QStringLiteral("Anders.\r\nLanger."));
    EXPECT_EVENTUALLY(shownLines().contains(QStringLiteral("Langer.")));
    EXPECT_EQ(lineRect(QStringLiteral("5. Kweek")).top(), before);
    // And shrinks above it.
    form->fields().setText(*fieldIndex("txtInleiding"), QString());
    EXPECT_EVENTUALLY(!shownLines().contains(QStringLiteral("Nog meer.")));
    EXPECT_EQ(lineRect(QStringLiteral("5. Kweek")).top(), before);
}

TEST_F(ArticleViewTest, BringsTheSectionOfTheFocusedFieldIntoView)
{
    open();
    activateForm();
    ASSERT_GT(view->textView()->verticalScrollBar()->maximum(), 0);
    while (form->currentPage() < 10)
        form->Command1_Click(1);  // to "Stap 9: Voedsel"
    ASSERT_FALSE(inView(QStringLiteral("4.2 Voedsel in aquaria")));
    form->findChild<QPlainTextEdit*>(QStringLiteral("txtVoedsel"))->setFocus();
    EXPECT_EVENTUALLY(inView(QStringLiteral("4.2 Voedsel in aquaria")));

    form->Command1_Click(1);
    form->Command1_Click(1);
    form->Command1_Click(1);  // "Stap 12: Links"
    form->findChild<QLineEdit*>(QStringLiteral("txtURL"))->setFocus();
    EXPECT_EVENTUALLY(inView(QStringLiteral("7. Links")));

    form->Command1_Click(3);
    while (form->currentPage() > 1)
        form->Command1_Click(0);
    form->findChild<QLineEdit*>(QStringLiteral("txtAuteur"))->setFocus();
    EXPECT_EVENTUALLY(inView(QStringLiteral("Geschreven door: ")));
}

TEST_F(ArticleViewTest, OpensAtTheFocusedFieldAndKeepsTheLineBeingWrittenInView)
{
    ArticleDocument doc = sample();
    for (std::size_t i = kFirstSectionField; i < kFieldCount; ++i)
        doc.fields[i] = QStringLiteral("Regel een.\r\nRegel twee.\r\nRegel drie.");
    doc.field("txtUitlegNaam") = QStringLiteral("Danio betekent zebra.");
    form->setDocument(doc);
    form->Command1_Click(1);
    form->Command1_Click(1);  // "Stap 2: Achtergrond (I)"
    auto* explained = form->findChild<QPlainTextEdit*>(QStringLiteral("txtUitlegNaam"));
    explained->setFocus();
    open();
    EXPECT_EVENTUALLY(inView(QStringLiteral("Danio betekent zebra.")));

    // Typing on at the end of the article, line after line.
    while (form->currentPage() < 12)
        form->Command1_Click(1);  // "Stap 11: Conclusie"
    auto* conclusion = form->findChild<QPlainTextEdit*>(QStringLiteral("txtConclusie"));
    conclusion->setFocus();
    conclusion->moveCursor(QTextCursor::End);
    for (int line = 1; line <= 60; ++line) {
        QTest::keyClick(conclusion, Qt::Key_Return);
        QTest::keyClicks(conclusion, QStringLiteral("Slot %1.").arg(line));
        if (line % 20 == 0) {
            const QString written = QStringLiteral("Slot %1.").arg(line);
            ASSERT_EVENTUALLY(shownLines().contains(written));
            EXPECT_EVENTUALLY(inView(written));
        }
    }
}

TEST_F(ArticleViewTest, TheSizeAsTheForumCountsIt)
{
    open();
    const auto [words, characters] = counts();
    EXPECT_EQ(characters, BuildArticle(form->document(), ArticleFlavour::Forum).size());
    EXPECT_GT(words, 50);

    form->fields().setText(*fieldIndex("txtInleiding"), QStringLiteral("Twee woorden"));
    EXPECT_EVENTUALLY(counts() == std::make_pair(words + 2, characters + 12));
    form->fields().setText(*fieldIndex("txtTitel"), QStringLiteral("Één \U0001F41F"));
    EXPECT_EVENTUALLY(counts() == std::make_pair(words + 3, characters + 12 + 5)) << "the fish is one character";
    EXPECT_TRUE(view->sizeText().endsWith(QStringLiteral(" tekens")));

    // What "Klembord" places.
    form->Command1_Click(3);
    form->Command1_Click(2);
    EXPECT_EQ(platform.clipboard.text.size() - 1, counts().second);
}

TEST_F(ArticleViewTest, NeverChangesTheDocumentOrTheClipboard)
{
    const ArticleDocument doc = sample();
    form->setDocument(doc);
    QGuiApplication::clipboard()->setText(QStringLiteral("van de schrijver"));
    open();
    view->activateWindow();
    view->textView()->setFocus();
    QTest::keyClick(view->textView(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(view->textView(), Qt::Key_C, Qt::ControlModifier);
    QTest::keyClick(view->textView(), Qt::Key_End, Qt::ControlModifier);
    view->refresh();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("van de schrijver"));
    EXPECT_EQ(platform.clipboard.clears, 0);
    EXPECT_FALSE(platform.clipboard.hasText);
    EXPECT_EQ(form->document(), doc);
    EXPECT_FALSE(form->unsavedChanges());
}

// Each block's text, and each fragment's text and look.
QStringList blocksOf(const QTextDocument& doc)
{
    QStringList blocks;
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        QString shown = block.text();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            shown += QStringLiteral(" |%1 %2 %3%4%5 %6 %7")
                         .arg(it.fragment().text())
                         .arg(f.fontWeight())
                         .arg(f.fontItalic())
                         .arg(f.fontUnderline())
                         .arg(f.fontStrikeOut())
                         .arg(int(f.verticalAlignment()))
                         .arg(f.anchorHref());
        }
        blocks << shown;
    }
    return blocks;
}

// Random edits in random fields and the links, each shown at once: the view
// shows what a view opened on the same document shows, line for line the
// whole post read in one go.
TEST(ArticleViewUpdate, AfterAnyEditsShowsWhatAFullReadingShows)
{
    using namespace Qt::StringLiterals;
    ArticleDocument doc = test::zebravis(defaultDocument());
    const auto source = [&doc]() -> const ArticleDocument& { return doc; };
    ArticleView view(source, nullptr);
    // Tags from the fourth to the eleventh.
    const QStringList typed = {u"x"_s,     u" woord"_s, u"\r\n"_s, u"<b>"_s,
                               u"</b>"_s,  u"<i>"_s,    u"</i>"_s,   u"<sub>"_s,
                               u"<br>"_s,  u"[URL]"_s,  u"[/URL]"_s, u"[URL=www.a.nl]"_s,
                               u"[url=http://b.nl/x]"_s, u"</STRONG>"_s, u"<"_s};
    std::mt19937 random(29);
    const auto pick = [&](qsizetype size) { return qsizetype(random() % std::uint32_t(size)); };
    const auto check = [&](int step) {
        view.refresh();
        ArticleView full(source, nullptr);
        full.refresh();
        ASSERT_EQ(blocksOf(*view.textView()->document()), blocksOf(*full.textView()->document())) << step;
        ASSERT_EQ(view.sizeText(), full.sizeText()) << step;
        QStringList read;
        for (const ForumLine& line : parseForumPost(BuildArticle(doc, ArticleFlavour::Forum))) {
            read << QString();
            for (const ForumRun& run : line.runs)
                read.back() += run.text;
        }
        ASSERT_EQ(view.textView()->document()->toPlainText().split(u'\n'), read) << step;
    };
    for (int step = 0; step < 300 && !HasFatalFailure(); ++step) {
        QString& field = doc.fields[std::size_t(pick(kFieldCount))];
        const qsizetype at = pick(field.size() + 1);
        const qsizetype what = pick(10);
        if (what == 0) {  // a tag typed and taken away again
            const QString tag = typed[3 + pick(8)];
            field.insert(at, tag);
            check(step);
            field.remove(at, tag.size());
        } else if (what == 1) {
            field.clear();
        } else if (what == 2) {
            if (!doc.links.isEmpty())
                doc.links.removeAt(pick(doc.links.size()));
            doc.links.append(QStringLiteral("Site %1, http://s%1.nl").arg(step));
        } else if (what < 5) {
            field.remove(at, 1 + pick(6));
        } else {
            field.insert(at, typed[pick(typed.size())]);
        }
        check(step);
    }
}

}  // namespace
}  // namespace vinkring::test
