#pragma once
// The settings file: the picture size, section "SizeParam", keys "ImageW" and
// "ImageH".

#include <QSize>
#include <QString>

inline constexpr int kDefaultPictureSize = 580;
inline constexpr int kScreenFallbackSize = 600;

// The square start-up picture side from the stored width and height (0 for a
// missing or unreadable value) and the screen size, no taller than the
// drawing window can show with a frame of the given height.
int StartupPictureSide(int storedWidth, int storedHeight, QSize screen, int frameHeight);

// The executable's path with its extension replaced by ".ini" where the
// executable's folder can be written; otherwise a file of that name in the
// configuration folder, so that an installed program keeps its settings too.
QString SettingsFilePathFor(const QString& executablePath, const QString& configFolder);
// The settings file of this program, unless a test has set another path.
QString SettingsFilePath();
void SetSettingsFilePathForTests(const QString& path);

// Reads both stored values; a missing key or a value that is not an integer
// reads 0, and so does everything when the settings file is not a regular file.
void ReadStoredPictureSize(int& width, int& height);
// Writes both keys and keeps every other section and key of the file.
// False when the file could not be written; anything but a regular file (or
// no file yet) is left alone.
bool WriteStoredPictureSize(int width, int height);
