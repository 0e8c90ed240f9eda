// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/start_up.h"

#include "game/random_source.h"
#include "ui/frmmain.h"

#include <QApplication>

int main(int argc, char* argv[]) {
    return tavlo::app::run(argc, argv, [](QApplication& application) {
        tavlo::ClockRandom random;
        tavlo::ui::frmmain window(random);
        window.show();
        return application.exec();
    });
}
