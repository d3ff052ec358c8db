#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <string>

#include "comm/action.h"
#include "config/configuration.h"

namespace kvr::cli {

// Machine-readable output of the commands given --json: one JSON document on stdout, texts
// of the configuration (8-bit characters) read as Latin-1.
void printJson(const QJsonObject& object);
void printJson(const QJsonArray& array);
QString latin1(const std::string& text);

// The summary `info` prints, as an object.
QJsonObject configurationJson(const core::Configuration& config);
// A device command's end: {"command", "result": "completed"|"failed"|"refused", "reason", ...}.
QJsonObject outcomeJson(const std::string& command, const core::Outcome& outcome);

} // namespace kvr::cli
