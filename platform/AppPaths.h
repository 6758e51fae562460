#pragma once
#include <QString>

// The one place that decides where the program's files are.
// Tests point HOME at a temporary folder, or set the program folder themselves.
namespace AppPaths {

// The product name: the per-user folder's name and the single-instance key.
QString ProductName();

// The folder the program's own files lie in (usersetting/Config.ini, Language/, Picture/, bin/):
// the executable's folder unless a test has set another.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

// The per-user data folder (device caches, Macro.ini and the macro files, logs and crash dumps):
// the desktop's data home ($XDG_DATA_HOME, else ~/.local/share) + "/" + product name.
QString UserDataFolder();

// The user's configuration folder for this program ($XDG_CONFIG_HOME, else ~/.config, + "/" +
// product name), where the registry stand-in keeps its values.
QString UserConfigFolder();

} // namespace AppPaths
