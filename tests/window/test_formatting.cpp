// The formatting commands in both kinds of field: the tags and the link code
// put around the selection and taken away again, each one step of Ctrl+Z.
#include "formfixture.h"

#include <QTest>

#include "eventually.h"

#include "article/tagcommands.h"
#include "model/fieldrules.h"

using namespace vinkring;
using namespace vinkring::test;

namespace {

// A text with its selection between « and ».
struct Marked {
    QString text;
    TextSelection selection;
};

Marked unmark(const char* marked)
{
    QString text = QString::fromUtf8(marked);
    const qsizetype start = text.indexOf(u'«');
    text.remove(start, 1);
    const qsizetype end = text.indexOf(u'»');
    text.remove(end, 1);
    return {text, {start, end}};
}

QString mark(QString text, TextSelection selection)
{
    text.insert(selection.end, u'»');
    return text.insert(selection.start, u'«');
}

class Formatting : public FormTest {};

TEST_F(Formatting, TagsAndLinksGoOnAndOffAsOneStepOfUndo)
{
    const struct {
        Qt::Key key;            // with Ctrl (and Shift for X); Key_K: the link
        const char* address;    // a link that is put in, instead of the key
        const char* before;
        const char* after;
    } cases[] = {
        {Qt::Key_B, nullptr, "een «vis» zwemt", "een <b>«vis»</b> zwemt"},
        {Qt::Key_B, nullptr, "een «<b>vis</b>» zwemt", "een «vis» zwemt"},
        {Qt::Key_B, nullptr, "een <B>«vis»</B> zwemt", "een «vis» zwemt"},
        {Qt::Key_I, nullptr, "ab«»cd", "ab<i>«»</i>cd"},
        {Qt::Key_I, nullptr, "ab<i>«»</i>cd", "ab«»cd"},
        {Qt::Key_U, nullptr, "<b>«vis»</b>", "<b><u>«vis»</u></b>"},
        {Qt::Key_X, nullptr, "«<s>a</s> en <s>b</s>»", "<s>«<s>a</s> en <s>b</s>»</s>"},
        {Qt::Key_B, nullptr, "eerste\r\neen «vis\r\nzwemt»", "eerste\r\neen <b>«vis\r\nzwemt»</b>"},
        {Qt::Key_K, nullptr, "zie «[URL=http://a.nl]Vinkring[/URL]» hier", "zie «Vinkring» hier"},
        {Qt::Key_K, nullptr, "zie [url=\"http://a.nl\"]«Vinkring»[/URL] hier", "zie «Vinkring» hier"},
        {Qt::Key_K, nullptr, "[URL]«www.a.nl»[/URL]", "«www.a.nl»"},
        {Qt::Key_K, "http://a.nl", "zie «Vinkring» hier", "zie [URL=http://a.nl]Vinkring[/URL]«» hier"},
        {Qt::Key_K, "www.a.nl", "zie «» hier", "zie [URL]www.a.nl[/URL]«» hier"},
    };
    form().show();
    ArticleFields& fields = form().fields();
    for (const auto& c : cases) {
        const Marked before = unmark(c.before);
        for (const std::size_t field : {*fieldIndex("txtInleiding"), kTitleField}) {
            if (isOneLine(field) && before.text.contains(u'\n'))
                continue;
            const std::string where = c.before + std::string(" in ") + std::string(kFields[field].name);
            fields.setText(field, before.text);
            fields.focus(field);
            fields.select(field, before.selection);
            if (c.address) {
                const TextEdit edit = insertLink(before.text, before.selection, linkAddress(QString::fromUtf8(c.address)));
                EXPECT_FALSE(removeLink(before.text, before.selection)) << where;
                fields.apply(field, edit);
            } else {
                QTest::keyClick(child(kFields[field].name.data()), c.key,
                                c.key == Qt::Key_X ? Qt::ControlModifier | Qt::ShiftModifier : Qt::ControlModifier);
            }
            EXPECT_EQ(mark(fields.text(field), fields.selection(field)), QString::fromUtf8(c.after)) << where;

            form().history().undo();
            EXPECT_EQ(fields.text(field), before.text) << "one step of undo: " << where;
        }
    }

    // Typing and a tag right after it are two steps in a line field too.
    auto* title = child<QLineEdit>("txtTitel");
    title->clear();
    title->setFocus();
    QTest::keyClicks(title, QStringLiteral("Guppy "));
    QTest::keyClick(title, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(title->text(), QStringLiteral("Guppy <b></b>"));
    form().history().undo();
    EXPECT_EQ(title->text(), QStringLiteral("Guppy "));

    // "Vet" from the menu by keyboard (Alt+O, Enter) on a line field's selection.
    QApplication::setActiveWindow(&form());
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    title->setText(QStringLiteral("abc"));
    title->setFocus();
    title->selectAll();
    QTest::keyClick(title, Qt::Key_O, Qt::AltModifier);
    ASSERT_EVENTUALLY(QApplication::activePopupWidget() != nullptr);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Return);
    EXPECT_EQ(title->text(), QStringLiteral("<b>abc</b>"));

    // A key outside the fields that take tags does nothing.
    auto* url = child<QLineEdit>("txtURL");
    url->setText(QStringLiteral("http://a.nl"));
    url->setFocus();
    url->selectAll();
    QTest::keyClick(url, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(url->text(), QStringLiteral("http://a.nl"));
}

}  // namespace
