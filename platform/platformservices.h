#pragma once
// What the window gets from the platform, injected at start-up.

namespace vinkring {

class MessageBox;
class Clipboard;
class FileDialog;
class Folders;
class Automation;

struct PlatformServices {
    MessageBox& messageBox;
    Clipboard& clipboard;
    FileDialog& fileDialog;
    Folders& folders;
    Automation& automation;
};

}  // namespace vinkring
