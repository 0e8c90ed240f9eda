// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/random_source.h"
#include "ui/application.h"
#include "ui/frmmain.h"
#include "ui/start_up.h"

#include <QApplication>

#include <memory>

int main(int argc, char* argv[]) {
    std::jthread fonts = tavlo::ui::startBeforeToolkit();
    auto guard = std::make_unique<tavlo::ui::DisplayGuard>();
    QApplication application(argc, argv);
    guard.reset();
    fonts.join();
    tavlo::ui::prepareApplication(application);

    int status = 0;
    {
        tavlo::ClockRandom random;
        tavlo::ui::frmmain window(random);
        window.show();
        status = application.exec();
    }
    tavlo::ui::checkLeaksWhileToolkitStands();
    return tavlo::ui::exitNowWhereTeardownCanHang(status);
}
