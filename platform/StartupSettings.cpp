#include "platform/StartupSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <algorithm>

#include "engine/ViewRecord.h"

namespace {

const QString kWidthKey = QStringLiteral("SizeParam/ImageW");
const QString kHeightKey = QStringLiteral("SizeParam/ImageH");

QString& SettingsPathOverride()
{
    static QString path;
    return path;
}

// A pipe, a device or a folder under the settings file's name would block
// or fail; only a regular file, or none yet, is read and written.
bool IsRegularOrAbsent(const QString& path)
{
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
}

int ReadInteger(const QSettings& settings, const QString& key)
{
    bool ok = false;
    const int value = settings.value(key).toString().trimmed().toInt(&ok);
    return ok ? value : 0;
}

// A stored side that is not a positive integer counts as missing; one that
// reaches the screen falls back to 600; the drawing window's limit bounds it.
int CheckedSide(int stored, int screenSide, int limit)
{
    int side = stored > 0 ? stored : kDefaultPictureSize;
    if (side >= screenSide)
        side = kScreenFallbackSize;
    return side > limit ? limit : side;
}

}  // namespace

int StartupPictureSide(int storedWidth, int storedHeight, QSize screen, int frameHeight)
{
    const int width = CheckedSide(storedWidth, screen.width(), kMaxPictureWidth);
    const int height = CheckedSide(storedHeight, screen.height(), kMaxPictureHeight);
    // The tallest drawing window less its frame and the picture's margin.
    const int tallestShown = PictureHeightOfWindow(kMaxPictureHeight, frameHeight);
    return std::min((width + height) / 2, tallestShown);
}

QString SettingsFilePathFor(const QString& executablePath, const QString& configFolder)
{
    const QFileInfo exe(executablePath);
    const QDir folder(exe.path());
    const bool inBuildTree = QFileInfo(folder.filePath(QStringLiteral("CMakeCache.txt"))).isFile();
    if (inBuildTree && QFileInfo(exe.path()).isWritable())
        return folder.filePath(exe.completeBaseName() + QStringLiteral(".ini"));
    return QDir(configFolder).filePath(QLatin1String(kProgramFolder) + QStringLiteral("/Qorvix.ini"));
}

QString SettingsFilePath()
{
    if (!SettingsPathOverride().isEmpty())
        return SettingsPathOverride();
    return SettingsFilePathFor(QCoreApplication::applicationFilePath(),
                               QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
}

void SetSettingsFilePathForTests(const QString& path) { SettingsPathOverride() = path; }

void ReadStoredPictureSize(int& width, int& height)
{
    width = 0;
    height = 0;
    const QString path = SettingsFilePath();
    if (!IsRegularOrAbsent(path))
        return;
    const QSettings settings(path, QSettings::IniFormat);
    width = ReadInteger(settings, kWidthKey);
    height = ReadInteger(settings, kHeightKey);
}

bool WriteStoredPictureSize(int width, int height)
{
    const QString path = SettingsFilePath();
    if (!IsRegularOrAbsent(path))
        return false;
    QSettings settings(path, QSettings::IniFormat);
    settings.setValue(kWidthKey, width);
    settings.setValue(kHeightKey, height);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
