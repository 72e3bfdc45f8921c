#include "ui/app/CVarnoltApp.h"

int main(int argc, char** argv) {
    varnolt::ui::CVarnoltApp app(argc, argv);
    if (!app.InitInstance()) {
        return 1;
    }
    return app.exec();
}
