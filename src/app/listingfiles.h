#pragma once

#include <QString>
#include <span>
#include <string>
#include <vector>

#include "tools/listings.h"

namespace kvr::gui {

// Writes listing i (`lines[i]`) into `folder`, made when missing, under the file name of
// `kinds[i]`; lines end in CR LF and each file is replaced whole, so a failed write leaves the
// previous one. Stops at the first failure and returns its message; empty when all were written.
QString writeListingFiles(const QString& folder, std::span<const core::ListingKind> kinds,
                          std::span<const std::vector<std::string>> lines);

// Listings written again on every refresh: a failure is reported when it first happens, not on
// every refresh while it stays the same.
class ListingFileWriter {
public:
    // The message to show now: empty when written or when this failure was reported last time.
    QString write(const QString& folder, std::span<const core::ListingKind> kinds,
                  std::span<const std::vector<std::string>> lines);
    // Saving starts again: the next failure is reported even when it is the last one.
    void reset() { m_lastError.clear(); }

private:
    QString m_lastError;
};

} // namespace kvr::gui
