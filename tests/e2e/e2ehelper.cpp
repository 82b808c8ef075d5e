// What the end-to-end scripts need from the program's own code, so that they
// copy neither the template nor the layout:
//
//   vinkring-e2e-helper layout
//       One line per control the scripts click: objectName (Command1 elements
//       as Command1.N), the index of the page that holds it (-1 for none),
//       then x, y, width and height in pixels, relative to the window's
//       client area below the menu bar.
//
//   vinkring-e2e-helper article forum|page OUTFILE [FIELD=TEXT]... [--link=LINE]...
//       Writes the default document with these field texts and link lines to
//       OUTFILE, as UTF-8: its forum text (BuildArticle), or the web page of
//       the whole post, every heading kept, as "Preview in IE" writes it. A
//       line feed in TEXT becomes CR LF, as the window gives a typed Enter.
//
//   vinkring-e2e-helper field DOCUMENT|RECOVERY-COPY FIELD OUTFILE
//       Writes the text of FIELD in a document file, or in a recovery copy
//       (a file ending in .herstel), to OUTFILE as UTF-8 with CR LF as a line
//       feed. Fails when the file is not a whole document or copy; for a
//       copy it prints the document file the copy belongs to.

#include <cstdio>

#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextStream>

#include "window/form/form1.h"
#include "article/articlebuilder.h"
#include "article/articleparts.h"
#include "article/textexports.h"
#include "document/documentfile.h"
#include "document/recovery.h"
#include "fakes/fakeplatform.h"

namespace {

int usage()
{
    std::fputs("usage: vinkring-e2e-helper layout\n"
               "       vinkring-e2e-helper article forum|page OUTFILE [FIELD=TEXT]... [--link=LINE]...\n"
               "       vinkring-e2e-helper field DOCUMENT|RECOVERY-COPY FIELD OUTFILE\n",
               stderr);
    return 2;
}

int printLayout(int argc, char* argv[])
{
    QApplication app(argc, argv);
    vinkring::test::FakePlatform platform;
    vinkring::Form1 window(platform.services);
    QWidget* client = window.centralWidget();

    QTextStream out(stdout);
    for (QWidget* widget : client->findChildren<QWidget*>()) {
        const bool wanted = qobject_cast<QLineEdit*>(widget) || qobject_cast<QPlainTextEdit*>(widget) ||
                            qobject_cast<QPushButton*>(widget) || qobject_cast<QListWidget*>(widget) ||
                            widget->objectName() == QLatin1String("lblCounter");
        if (!wanted || widget->objectName().isEmpty())
            continue;
        QString name = widget->objectName();
        const QVariant index = widget->property("Index");
        if (index.isValid())
            name += QLatin1Char('.') + index.toString();
        int page = -1;
        for (QWidget* p = widget->parentWidget(); p && p != client; p = p->parentWidget()) {
            if (p->objectName() == QLatin1String("Frame1"))
                page = p->property("Index").toInt();
        }
        const QPoint at = widget->mapTo(client, QPoint(0, 0));
        out << name << ' ' << page << ' ' << at.x() << ' ' << at.y() << ' ' << widget->width() << ' '
            << widget->height() << '\n';
    }
    return 0;
}

int writeArticle(int argc, char* argv[])
{
    if (argc < 4)
        return usage();
    const QString output = QString::fromLocal8Bit(argv[2]);
    if (output != QLatin1String("forum") && output != QLatin1String("page"))
        return usage();

    vinkring::ArticleDocument doc = vinkring::defaultDocument();
    for (int i = 4; i < argc; ++i) {
        const QString arg = QString::fromUtf8(argv[i]);
        if (arg.startsWith(QLatin1String("--link="))) {
            doc.links << arg.mid(7);
            continue;
        }
        const qsizetype equals = arg.indexOf(QLatin1Char('='));
        const auto index =
            equals < 0 ? std::nullopt : vinkring::fieldIndex(arg.left(equals).toStdString());
        if (!index) {
            std::fprintf(stderr, "not a field: %s\n", argv[i]);
            return 2;
        }
        QString text = arg.mid(equals + 1);
        text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        doc.fields[*index] = text;
    }

    QFile file(QString::fromLocal8Bit(argv[3]));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "cannot write %s\n", argv[3]);
        return 1;
    }
    const QString text = output == QLatin1String("forum")
                             ? vinkring::BuildArticle(doc, vinkring::ArticleFlavour::Forum)
                             : vinkring::webPage(vinkring::readArticleParts(doc, vinkring::EmptySections::Kept));
    file.write(text.toUtf8());
    return file.flush() ? 0 : 1;
}

int writeField(int argc, char* argv[])
{
    if (argc != 5)
        return usage();
    const QString path = QString::fromLocal8Bit(argv[2]);
    const auto index = vinkring::fieldIndex(argv[3]);
    if (!index)
        return usage();
    std::optional<vinkring::ArticleDocument> doc;
    if (path.endsWith(QLatin1String(".herstel"))) {
        QFile copyFile(path);
        std::optional<vinkring::RecoveryCopy> copy;
        if (copyFile.open(QIODevice::ReadOnly))
            copy = vinkring::parseRecovery(copyFile.readAll());
        if (copy) {
            doc = copy->document;
            std::printf("%s\n", qPrintable(copy->fileName));
        }
    } else {
        doc = vinkring::ReadDocumentFile(path).document;
    }
    if (!doc) {
        std::fprintf(stderr, "not a whole document: %s\n", argv[2]);
        return 1;
    }
    QString text = doc->fields[*index];
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    QFile out(QString::fromLocal8Bit(argv[4]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return 1;
    out.write(text.toUtf8());
    return out.flush() ? 0 : 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    if (argc >= 2 && qstrcmp(argv[1], "layout") == 0)
        return printLayout(argc, argv);
    if (argc >= 2 && qstrcmp(argv[1], "article") == 0)
        return writeArticle(argc, argv);
    if (argc >= 2 && qstrcmp(argv[1], "field") == 0)
        return writeField(argc, argv);
    return usage();
}
