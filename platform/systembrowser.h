#pragma once
// The web browser behind "internetexplorer.application": the user's own
// browser, started on the file's file:// URL.
//
// The browsers are tried in this order until one starts:
// - the commands of $BROWSER (colon-separated): "%s" in a command marks the
//   URL, else the URL is appended; commands that cannot be found are left out;
// - the desktop's default application for HTML, when it is a browser (it
//   also opens http links; an editor may well be the default for HTML);
// - the desktop's default application for http links.
// A browser known to take --new-window is asked for a new window.
//
// Finding the browsers starts nothing, so the object is cheap to create (the
// last page creates one on every arrival); navigate2 starts one.

#include <memory>

#include "platform/automation.h"

namespace vinkring {

// The browser object, or null when no browser can be found.
std::unique_ptr<AutomationObject> createSystemBrowser();

}  // namespace vinkring
