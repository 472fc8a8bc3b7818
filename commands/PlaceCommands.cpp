#include "commands/PlaceCommands.h"

#include <QFile>
#include <QImage>

#include "commands/CommandSet.h"
#include "commands/CommandSupport.h"
#include "commands/ViewSteps.h"
#include "commands/WindowPorts.h"
#include "engine/EngineState.h"
#include "engine/Navigation.h"
#include "engine/Place.h"
#include "engine/PlaceView.h"
#include "platform/QVDialogs.h"
#include "platform/QtSupport.h"

namespace {

const QString kPlaceFilter = QStringLiteral("場所ファイル (*.qvplace)");
// A PNG the program saved holds its place too.
const QString kPlaceOpenFilter = QStringLiteral("場所ファイル (*.qvplace *.png)");

bool PlacesCanOpen() { return !IsRendering && IsCommandEnabled(QVCommand::DrawAll); }
bool PlaceCanBeTaken() { return !IsRendering && dpCurr.diType != 0; }

}  // namespace

void SavePlaceFile()
{
    if (!PlaceCanBeTaken())
        return;
    QWidget* parent = WindowOf(Ports().control);
    const QString path = Dialogs().GetSaveFileName(parent, QStringLiteral("Quorvex.qvplace"), kPlaceFilter);
    if (path.isEmpty())
        return;
    std::string reason;
    if (!WritePlaceFile(QFile::encodeName(path).toStdString(), PlaceOfCurrentView(), reason))
        Dialogs().ShowError(parent, QStringLiteral("場所ファイルを保存できません:") + NativePath(path) +
                                        QStringLiteral("\n") + QString::fromLocal8Bit(reason.c_str()));
}

void OpenPlaceFile()
{
    if (!PlacesCanOpen())
        return;
    QWidget* parent = WindowOf(Ports().control);
    const QString path = Dialogs().GetOpenFileName(parent, kPlaceOpenFilter);
    if (path.isEmpty())
        return;
    Place place;
    std::string reason;
    if (!ReadPlaceFile(QFile::encodeName(path).toStdString(), place, reason)) {
        Dialogs().ShowError(parent, QStringLiteral("場所ファイルを開けません:") + NativePath(path) +
                                        QStringLiteral("\n") + QString::fromUtf8(reason));
        return;
    }
    OpenPlace(place);
}

// During a render: the place of the view being drawn.
void CopyPlace()
{
    if (dpCurr.diType != 0)
        Dialogs().SetClipboardText(QString::fromStdString(FormatPlace(PlaceOfCurrentView())));
}

// During a render the place is read at once; it stops the render and opens
// when the render has returned, as the steps of the wheel do.
void PastePlace()
{
    if (!PlacesCanOpen() && !IsRendering)
        return;
    const QByteArray text = Dialogs().ClipboardText().toUtf8();
    Place place;
    std::string reason;
    if (!ParsePlace(std::string_view(text.constData(), size_t(text.size())), place, reason)) {
        Dialogs().ShowError(WindowOf(Ports().drawing),
                            QStringLiteral("クリップボードの場所を開けません\n") + QString::fromUtf8(reason));
        return;
    }
    if (!IsRendering) {
        OpenPlace(place);
        return;
    }
    OpenPlaceAfterRender(place);
}
