#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <string>

#include "comm/action.h"
#include "config/configuration.h"

namespace kvr::cli {

// Machine-readable output of the commands given --json: one JSON document on stdout. Texts are
// UTF-8, as the configuration holds them.
void printJson(const QJsonObject& object);
void printJson(const QJsonArray& array);
QString jsonText(const std::string& text);

// The summary `info` prints, as an object.
QJsonObject configurationJson(const core::Configuration& config);
// A device command's end: {"command", "result": "completed"|"failed"|"refused", "reason", ...}.
QJsonObject outcomeJson(const std::string& command, const core::Outcome& outcome);

} // namespace kvr::cli
