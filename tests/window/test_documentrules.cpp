// The document's rules over every route into the title and a link line: no
// line end ever gets in, a blank stands in its place, and the window shows
// what the document holds.
#include "formfixture.h"

#include <functional>

#include <QClipboard>
#include <QInputMethodEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>

#include "document/recovery.h"
#include "model/fieldrules.h"
#include "window/aids/searchbar.h"
#include "window/form/linkseditor.h"

namespace vinkring::test {
namespace {

const QString kBroken = QStringLiteral("Zebra\r\nvis");
const QString kFitted = QStringLiteral("Zebra vis");
const QString kLink = QStringLiteral("Zebravis wiki, https://nl.wikipedia.org/wiki/Zebravis");

class DocumentRules : public FormTest {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        platform.folders.state = dir.filePath(QStringLiteral("state"));
        form().show();
    }
    void TearDown() override { closeForm(); }

    ArticleDocument broken() const
    {
        ArticleDocument doc = defaultDocument();
        doc.fields[kTitleField] = kBroken;
        doc.links = {kBroken + QStringLiteral(", https://a.nl")};
        return doc;
    }

    QTemporaryDir dir;
};

TEST_F(DocumentRules, NoLineEndGetsIntoAOneLineTextByAnyRoute)
{
    ArticleFields& fields = form().fields();
    auto* title = child<QLineEdit>("txtTitel");
    const auto send = [title](QEvent&& event) { QApplication::sendEvent(title, &event); };
    const struct {
        const char* route;
        bool inTitle;
        bool inLink;
        std::function<void()> go;
    } routes[] = {
        {"typing", true, false,
         [&] {
             QInputMethodEvent typed;
             typed.setCommitString(kBroken);
             send(std::move(typed));
         }},
        {"paste", true, false,
         [&] {
             QGuiApplication::clipboard()->setText(kBroken);
             QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
         }},
        {"drop", true, false,
         [&] {
             QMimeData dropped;
             dropped.setText(kBroken);
             send(QDragEnterEvent(QPoint(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier));
             send(QDropEvent(QPointF(5, 5), Qt::CopyAction, &dropped, Qt::LeftButton, Qt::NoModifier));
         }},
        {"set", true, false, [&] { fields.setText(kTitleField, kBroken); }},
        {"edit", true, false, [&] { fields.apply(kTitleField, TextEdit{0, 0, kBroken, {0, 0}}); }},
        {"formatting", true, false,
         [&] { fields.apply(kTitleField, insertLink(fields.text(kTitleField), {0, 0}, kBroken)); }},
        {"undo and redo", true, false,
         [&] {
             fields.apply(kTitleField, TextEdit{0, 0, kBroken, {0, 0}});
             form().history().undo();
             form().history().redo();
         }},
        {"replace all", true, true,
         [&] {
             SearchBar& bar = program().searchBar();
             bar.findField()->setText(QStringLiteral("Zebravis"));
             bar.replaceField()->setText(QStringLiteral("Zebra\nvis"));
             bar.replaceAll();
         }},
        {"links editor", false, true,
         [&] {
             form().linksEditor().findChild<QLineEdit*>(QStringLiteral("txtURL"))->setText(kBroken);
             form().linksEditor().Command2_Click();
         }},
        {"open", true, true, [&] { form().setDocument(broken()); }},
        {"import", true, true, [&] { form().session().imported(broken()); }},
        {"restore", true, true,
         [&] {
             {
                 RecoveryStore crashed(platform.folders.state);
                 ASSERT_TRUE(crashed.write(RecoveryCopy{broken(), QString(), QDateTime::currentDateTime()}).ok);
             }
             platform.messageBox.answers = {MessageAnswer::Yes};
             form().offerLeftOverWork();
         }},
    };
    for (const auto& r : routes) {
        ArticleDocument start = defaultDocument();
        start.fields[kTitleField] = QStringLiteral("Zebravis");
        start.links = {kLink};
        form().setDocument(start);
        title->setFocus();
        r.go();

        const ArticleDocument& doc = form().document();
        const QStringList oneLine = QStringList(doc.links) << doc.fields[kTitleField] << doc.fields[kAuthorField];
        for (const QString& line : oneLine)
            EXPECT_FALSE(std::any_of(line.cbegin(), line.cend(), isLineBreak)) << r.route << ": " << qPrintable(line);
        if (r.inTitle) {
            EXPECT_TRUE(doc.fields[kTitleField].contains(kFitted)) << r.route << ": " << qPrintable(doc.fields[kTitleField]);
        }
        if (r.inLink) {
            EXPECT_TRUE(doc.links.value(doc.links.size() - 1).contains(kFitted)) << r.route;
        }
        EXPECT_EQ(title->text(), doc.fields[kTitleField]) << r.route << ": the window shows what the document holds";
    }
}

}  // namespace
}  // namespace vinkring::test
