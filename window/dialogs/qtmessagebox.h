#pragma once
// The message box as a QMessageBox over the window.

#include "platform/messagebox.h"

class QWidget;

namespace vinkring {

class QtMessageBox final : public MessageBox {
public:
    explicit QtMessageBox(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    MessageAnswer show(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                       const QString& detail) override;
    int choose(const QString& text, const QString& title, const QStringList& answers) override;

private:
    QWidget* parent_;
};

}  // namespace vinkring
