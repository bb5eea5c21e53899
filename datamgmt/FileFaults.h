#pragma once
// A test seam in the file layer of the data-management operations: every
// byte that the archive component and the operations' own copies write goes
// through `allowWrite`. A test sets a budget; once it is spent every further
// write fails as on a full disk. Without a budget nothing is counted.
#include <cstddef>
#include <cstdint>

namespace lumo::faults
{

// After `bytes` more bytes every write fails; a negative budget removes the
// limit (the default).
void setWriteBudget(std::int64_t bytes);
// The bytes left, or -1 when there is no limit.
std::int64_t writeBudget();
// True when `size` bytes may be written now (and takes them from the
// budget); false when the write must fail.
bool allowWrite(std::size_t size);

} // namespace lumo::faults
