#include "platform/PictureSave.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <vector>

#include "files/WholeFiles.h"

QString PictureFailureText(const QString& path, const std::string& reason)
{
    return QStringLiteral("画像ファイルを保存できません:") + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()) +
           QStringLiteral("\n") + QString::fromLocal8Bit(reason.c_str());
}

QString SavePictureFile(const QImage& picture, const QString& path, PictureFormat format, const std::string& key,
                        const std::string& text)
{
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    std::vector<uint8_t> encoded;
    std::string reason;
    if (!EncodePicture(format, rgb.constBits(), rgb.width(), rgb.height(), size_t(rgb.bytesPerLine()), key, text,
                       encoded, reason) ||
        WriteWholeFile(QFile::encodeName(path).toStdString(), encoded.data(), encoded.size(), reason) !=
            FileWriteResult::Written)
        return PictureFailureText(path, reason);
    return QString();
}
