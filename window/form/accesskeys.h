#pragma once
// A button's access key (Alt+A) clicks it at once. Qt draws such a click for
// 100 ms and only then clicks: keys typed meanwhile went into the fields the
// click then read ("Alles vervangen" replaced with what was typed after it).

#include <QObject>

namespace vinkring {

class ImmediateAccessKeys final : public QObject {
public:
    // For every button of the application, for as long as parent lives.
    explicit ImmediateAccessKeys(QObject* parent);
    ~ImmediateAccessKeys() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace vinkring
