#pragma once
// A line that tells the writer what just happened and goes again after a
// few seconds, without a box to click away.

#include <QLabel>
#include <QTimer>

namespace vinkring {

class PassingNote final : public QLabel {
    Q_OBJECT

public:
    explicit PassingNote(QWidget* parent);

    // Shows the text; it goes after the show time, or when said again. Too
    // long for the note's width, it is shortened (the whole text in its
    // tooltip).
    void say(const QString& text);
    void setShowTime(int milliseconds) { timer_.setInterval(milliseconds); }

    static constexpr int kShowMilliseconds = 5000;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void fit();

    QTimer timer_;
    QString whole_;
};

}  // namespace vinkring
