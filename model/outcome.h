#pragma once
// What an operation came to: done, or not done and why. One shape for every
// file written or read and every call on an outside program.

#include <utility>

#include <QString>

namespace vinkring {

struct Outcome {
    bool ok = true;
    // When not ok: why, as the writer is told it (a Dutch text, or an
    // outside program's own words, which may be empty).
    QString reason;

    static Outcome done() { return {}; }
    static Outcome failed(QString reason) { return {false, std::move(reason)}; }
};

}  // namespace vinkring
