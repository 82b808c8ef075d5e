#pragma once
// The modal message box the program talks to the writer with.

#include <QString>
#include <QStringList>

namespace vinkring {

enum class MessageIcon { Information, Exclamation };
// The default button is the answer that loses nothing: "Ja" (YesNo,
// YesNoCancel); "Nee" with YesNoKeepOld, where "Ja" replaces what another
// wrote; with YesNoKeep the third answer, which keeps every character.
enum class MessageButtons { Ok, YesNo, YesNoKeepOld, YesNoCancel, YesNoKeep };
// Escape and closing the box answer No, or Cancel where the box has it.
enum class MessageAnswer { Ok, Yes, No, Cancel, Keep };

// A modal message box. An empty title shows the application's title; a
// detail (the system's own reason for a failure) shows below the text.
class MessageBox {
public:
    virtual ~MessageBox() = default;
    virtual MessageAnswer show(const QString& text, const QString& title, MessageIcon icon, MessageButtons buttons,
                               const QString& detail) = 0;
    // A question with answers of its own, one button each: the first is the
    // default, the last the one Escape and closing the box give. Returns the
    // index of the answer chosen.
    virtual int choose(const QString& text, const QString& title, const QStringList& answers) = 0;
};

// A failure message: the program's message title, the exclamation icon and
// one OK button.
void warn(MessageBox& box, const QString& text, const QString& detail = {});

}  // namespace vinkring
