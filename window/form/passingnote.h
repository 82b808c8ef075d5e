#pragma once
// A line that tells the writer what just happened and goes again after a
// few seconds, without a box to click away.

#include <functional>

#include <QLabel>
#include <QThreadPool>
#include <QTimer>

namespace vinkring {

class PassingNote final : public QLabel {
    Q_OBJECT

public:
    explicit PassingNote(QWidget* parent);
    ~PassingNote() override;

    // Shows the text; it goes after the show time, or when said again. Too
    // long for the note's width, it is shortened (the whole text in its
    // tooltip).
    void say(const QString& text);
    // Says text, and adds what more gives once it has run on a worker (for
    // work of milliseconds per megabyte), unless something else was said by then.
    void say(const QString& text, std::function<QString()> more);
    void setShowTime(int milliseconds) { timer_.setInterval(milliseconds); }

    static constexpr int kShowMilliseconds = 5000;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QTimer timer_;
    QString whole_;
    int said_ = 0;
    QThreadPool pool_;
};

}  // namespace vinkring
