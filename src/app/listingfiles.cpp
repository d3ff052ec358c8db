#include "app/listingfiles.h"

#include <QDir>

#include "app/programtext.h"
#include "config/configfile.h"
#include "tools/reportoutput.h"
#include "util/texts.h"

namespace kvr::gui {

QString writeListingFiles(const QString& folder, std::span<const core::ListingKind> kinds,
                          std::span<const std::vector<std::string>> lines)
{
    if (!QDir().mkpath(folder)) return q(core::texts::kUnableToWrite) + folder;
    const std::string prefix = (folder + QLatin1Char('/')).toStdString();
    for (size_t i = 0; i < kinds.size() && i < lines.size(); ++i) {
        const std::string text = core::textWithCrLf(lines[i]);
        const core::Status written =
            core::writeFileAtomically(prefix + core::listingFileName(kinds[i]),
                                      std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
        if (!written) return q(written.message());
    }
    return {};
}

QString ListingFileWriter::write(const QString& folder, std::span<const core::ListingKind> kinds,
                                 std::span<const std::vector<std::string>> lines)
{
    const QString error = writeListingFiles(folder, kinds, lines);
    const bool repeated = error == m_lastError;
    m_lastError = error;
    return repeated ? QString() : error;
}

} // namespace kvr::gui
