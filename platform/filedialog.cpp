#include "platform/filedialog.h"

namespace vinkring {

QString initialFileName(const FileDialogRequest& request, const QString& lastName)
{
    return request.setFileName || !request.fileName.isEmpty() ? request.fileName : lastName;
}

}  // namespace vinkring
