#include "platform/messagebox.h"

#include "model/texts.h"

namespace vinkring {

void warn(MessageBox& box, const QString& text, const QString& detail)
{
    box.show(text, toQString(texts::kMessageTitle), MessageIcon::Exclamation, MessageButtons::Ok, detail);
}

}  // namespace vinkring
