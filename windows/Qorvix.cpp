// Quorvex: creates the windows in their order, each completely before the
// next, and runs the event loop until the control window closes.

#include <memory>

#include "QVApplication.h"
#include "untQVCtrl.h"
#include "untQVView.h"

int main(int argc, char** argv)
{
    QVApplication app(argc, argv);
    auto control = std::make_unique<TfrmQVCtrl>();
    auto drawing = std::make_unique<TfrmQVView>();
    control->show();
    return app.exec();
}
