// The system browser as the program uses it, in a process of its own so that
// GIO reads the desktop a test has set up in the environment. Prints "none"
// when no browser is found, "found" when one is and no file is given, else
// opens the file and prints "ok" or "failed" and the reason.
#include <cstdio>

#include <QString>

#include "platform/systembrowser.h"

int main(int argc, char** argv)
{
    std::unique_ptr<vinkring::AutomationObject> object = vinkring::createSystemBrowser();
    auto* browser = dynamic_cast<vinkring::BrowserObject*>(object.get());
    if (!browser) {
        std::puts("none");
        return 0;
    }
    if (argc < 2) {
        std::puts("found");
        return 0;
    }
    const vinkring::Outcome navigated = browser->navigate2(QString::fromLocal8Bit(argv[1]));
    const vinkring::Outcome shown = browser->setVisible(true);
    if (navigated.ok && shown.ok)
        std::puts("ok");
    else
        std::printf("failed\n%s\n", (navigated.ok ? shown.reason : navigated.reason).toUtf8().constData());
    return 0;
}
