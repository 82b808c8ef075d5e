#pragma once
#include <QString>

namespace vinkring {

class Clipboard {
public:
    virtual ~Clipboard() = default;
    // Removes every format the clipboard holds; false when it cannot be opened.
    virtual bool clear() = 0;
    // Places the text as plain text; false when the clipboard refused it.
    virtual bool setText(const QString& text) = 0;
    // The plain text the clipboard holds; empty when it holds none.
    virtual QString plainText() const = 0;
};

class QtClipboard final : public Clipboard {
public:
    bool clear() override;
    bool setText(const QString& text) override;
    QString plainText() const override;
};

}  // namespace vinkring
