#include "window/form/passingnote.h"

#include <QFontMetrics>

namespace vinkring {

namespace {

// A word that names a file: a '.' or '/' inside it with a letter after it
// ("wm.VKV.", "/tmp/a"), not a number ("2.345").
bool namesFile(QStringView word)
{
    for (qsizetype i = 1; i + 1 < word.size(); ++i) {
        if ((word[i] == u'.' || word[i] == u'/') && word[i + 1].isLetter())
            return true;
    }
    return false;
}

// The text as it fits in width: whole where it fits; otherwise the file name
// in it (the longest, of two as long the later) shortened in the middle, and
// where that is not enough (or there is none), its end. Its start always
// shows.
QString fittedNote(const QString& text, const QFontMetrics& metrics, int width)
{
    const int over = metrics.horizontalAdvance(text) - width;
    if (over <= 0)
        return text;
    qsizetype start = 0;
    qsizetype length = 0;
    for (qsizetype at = 0; at < text.size();) {
        const qsizetype blank = text.indexOf(u' ', at);
        const qsizetype end = blank < 0 ? text.size() : blank;
        if (end - at >= length && namesFile(QStringView(text).sliced(at, end - at))) {
            start = at;
            length = end - at;
        }
        at = end + 1;
    }
    QString shorter = text;
    if (length >= 3) {
        const QString word = text.mid(start, length);
        QString middle = metrics.elidedText(word, Qt::ElideMiddle, metrics.horizontalAdvance(word) - over);
        // Qt gives up to a bare ellipsis: a character of each end stays.
        if (middle.size() < 3)
            middle = QString(word.front()) + QChar(0x2026) + word.back();
        shorter.replace(start, length, middle);
    }
    return metrics.elidedText(shorter, Qt::ElideRight, width);
}

}  // namespace

PassingNote::PassingNote(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    pool_.setMaxThreadCount(1);
    hide();
    timer_.setSingleShot(true);
    timer_.setInterval(kShowMilliseconds);
    connect(&timer_, &QTimer::timeout, this, [this] {
        hide();
        whole_.clear();
        clear();
        setToolTip(QString());
    });
}

PassingNote::~PassingNote()
{
    // An addition under way sends its text here.
    pool_.waitForDone();
}

void PassingNote::say(const QString& text)
{
    ++said_;
    whole_ = text;
    fit();
    show();
    timer_.start();
}

void PassingNote::say(const QString& text, std::function<QString()> more)
{
    say(text);
    pool_.start([this, said = said_, text, more = std::move(more)] {
        const QString added = more();
        QMetaObject::invokeMethod(
            this,
            [this, said, text, added] {
                if (said == said_ && !added.isEmpty())
                    say(text + u' ' + added);
            },
            Qt::QueuedConnection);
    });
}

void PassingNote::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    fit();
}

void PassingNote::fit()
{
    const QString shown = fittedNote(whole_, fontMetrics(), contentsRect().width());
    if (text() != shown)
        setText(shown);
    setToolTip(shown == whole_ ? QString() : whole_);
}

}  // namespace vinkring
