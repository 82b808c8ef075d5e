// The floor of the window benchmark (bench/window_bench.py): what plain Qt
// costs for the same work, in a window the same size as the program's.
//   vinkring_floor --empty        an empty Qt Widgets window
//   vinkring_floor [FILE]         a QPlainTextEdit holding every text of the
//                                 document file, put in once the window is
//                                 painted (as the program opens a file given)
// And the benchmark's files:
//   vinkring_floor --write FILE MEGABYTES   a document file of about that size
//   vinkring_floor --forum FILE MEGABYTES   the forum text of such a document

#include <cstdio>
#include <functional>
#include <utility>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QStringList>
#include <QTimer>

#include "article/articlebuilder.h"
#include "bench/benchdocument.h"
#include "document/documentfile.h"

namespace {

constexpr int kWidth = 790;
constexpr int kHeight = 563;

int writeFiles(const QStringList& args)
{
    const auto doc = vinkring::bench::makeDocument(qsizetype(args.at(3).toDouble() * 1000 * 1000));
    if (args.at(1) == QStringLiteral("--write")) {
        const vinkring::Outcome result = vinkring::WriteDocumentFile(args.at(2), doc);
        if (!result.ok)
            std::fprintf(stderr, "%s\n", qPrintable(result.reason));
        return result.ok ? 0 : 1;
    }
    QFile out(args.at(2));
    if (!out.open(QIODevice::WriteOnly) || out.write(vinkring::BuildArticle(doc, vinkring::ArticleFlavour::Forum).toUtf8()) < 0) {
        std::fprintf(stderr, "%s\n", qPrintable(out.errorString()));
        return 1;
    }
    return 0;
}

// Calls `then` once, after the widget's first paint.
class AfterFirstPaint final : public QObject {
public:
    explicit AfterFirstPaint(std::function<void()> then) : then_(std::move(then)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && then_) {
            QTimer::singleShot(0, this, std::exchange(then_, nullptr));
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> then_;
};

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const QStringList args = QApplication::arguments();
    if (args.size() == 4 && (args.at(1) == QStringLiteral("--write") || args.at(1) == QStringLiteral("--forum")))
        return writeFiles(args);

    const bool empty = args.size() == 2 && args.at(1) == QStringLiteral("--empty");
    QWidget plainWindow;
    QPlainTextEdit field;
    QWidget& window = empty ? plainWindow : static_cast<QWidget&>(field);
    window.setWindowTitle(QStringLiteral("Vinkring floor"));
    window.resize(kWidth, kHeight);

    const QString path = args.size() == 2 && !empty ? args.at(1) : QString();
    AfterFirstPaint open([&field, path] {
        if (path.isEmpty())
            return;
        vinkring::DocumentReadResult result = vinkring::ReadDocumentFile(path);
        if (!result.document) {
            std::fprintf(stderr, "%s\n", qPrintable(result.reason));
            QApplication::exit(1);
            return;
        }
        QStringList texts(result.document->fields.cbegin(), result.document->fields.cend());
        field.setPlainText(texts.join(QStringLiteral("\r\n")));
    });
    if (!empty)
        field.viewport()->installEventFilter(&open);
    window.show();
    return QApplication::exec();
}
