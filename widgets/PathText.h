#pragma once
// File paths between Qt's strings and the standard library's paths, without
// passing through a narrow encoding that could lose characters.

#include <QString>

#include <filesystem>

namespace tabry::ui {

std::filesystem::path ToFsPath(const QString& path);
QString FromFsPath(const std::filesystem::path& path);

} // namespace tabry::ui
