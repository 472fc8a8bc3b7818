#include "StartupSettings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <algorithm>

namespace {

const QString kWidthKey = QStringLiteral("SizeParam/ImageW");
const QString kHeightKey = QStringLiteral("SizeParam/ImageH");
constexpr int kMaxStoredWidth = 1600;
constexpr int kMaxStoredHeight = 1200;

QString& SettingsPathOverride()
{
    static QString path;
    return path;
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
    const int width = CheckedSide(storedWidth, screen.width(), kMaxStoredWidth);
    const int height = CheckedSide(storedHeight, screen.height(), kMaxStoredHeight);
    // The tallest drawing window less its frame and the picture's margin.
    const int tallestShown = kMaxStoredHeight - frameHeight - 2;
    return std::min((width + height) / 2, tallestShown);
}

QString SettingsFilePath()
{
    if (!SettingsPathOverride().isEmpty())
        return SettingsPathOverride();
    const QFileInfo exe(QCoreApplication::applicationFilePath());
    return exe.path() + QLatin1Char('/') + exe.completeBaseName() + QStringLiteral(".ini");
}

void SetSettingsFilePathForTests(const QString& path) { SettingsPathOverride() = path; }

void ReadStoredPictureSize(int& width, int& height)
{
    const QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    width = ReadInteger(settings, kWidthKey);
    height = ReadInteger(settings, kHeightKey);
}

bool WriteStoredPictureSize(int width, int height)
{
    QSettings settings(SettingsFilePath(), QSettings::IniFormat);
    settings.setValue(kWidthKey, width);
    settings.setValue(kHeightKey, height);
    settings.sync();
    return settings.status() == QSettings::NoError;
}
