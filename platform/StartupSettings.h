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

// The folder an installed program keeps its files in, under the user's
// configuration folder and under the shared data folders ("share/quorvex").
inline constexpr char kProgramFolder[] = "quorvex";

// A program run from its build tree (CMakeCache.txt beside it) keeps its
// settings beside itself, named after the executable with ".ini", while that
// folder can be written. Any other, an installed one above all, keeps
// Qorvix.ini in its own folder of the configuration folder.
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
