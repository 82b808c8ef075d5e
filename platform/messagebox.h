#pragma once
#include <QString>

class QWidget;

namespace vinkring {

enum class MessageIcon { Information, Exclamation, Question, Critical };
enum class MessageButtons { Ok, YesNo };
enum class MessageAnswer { Ok, Yes, No };

// A modal message box. An empty title shows the application's title.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                               MessageButtons buttons) = 0;
};

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon,
                       MessageButtons buttons) override;

private:
    QWidget* parent_;
};

}  // namespace vinkring
