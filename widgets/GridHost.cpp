// The entry check as every window shows it.
#include "widgets/GridHost.h"

#include "widgets/Text.h"

namespace skyvane {

bool GridHost::showEntryCheck(const EntryCheck& check) {
    if (check.outcome != EntryCheck::Outcome::RangeEnded)
        setStatus(fromBytes(check.message));
    if (check.fault())
        setCursor(check.column, check.entry);
    return check.fault();
}

} // namespace skyvane
