#pragma once
// How the process's memory goes back to the system.

namespace vinkring {

// A large block freed goes back to the system at once. glibc otherwise keeps
// blocks up to the size of the largest one freed so far for reuse (its
// mmap threshold grows), so that every recovery copy of a large article
// would leave megabytes behind.
void returnLargeBlocksAtOnce();

}  // namespace vinkring
