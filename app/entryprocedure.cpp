#include "app/entryprocedure.h"

#include "app/startuptiming.h"
#include "core/messagebox.h"
#include "core/modmain.h"
#include "core/programpaths.h"
#include "core/screensaver.h"
#include "core/singleinstance.h"
#include "core/startup.h"
#include "playlist/locations.h"
#include "ui/main/frmnormal.h"

#include <QApplication>

namespace orvane::app {

using namespace orvane::core;

namespace {

int handOverToRunningInstance(SingleInstance &instance)
{
    modMain::IsSecondInstance = true;
    // The running instance has a current folder of its own: names are
    // made absolute here, where they were given.
    const QString raw = playlist::OwnAbsoluteCommandLine();
    // Started again without files, the user is looking for the window: the
    // running one is told so it comes forward. Nobody asked for anything
    // else, so a running one that does not answer is no error.
    if (raw.isEmpty()) {
        instance.sendExecute(raw);
        return 0;
    }
    if (instance.sendExecute(raw))
        return 0;
    messageBox().show(QStringLiteral("DDE Link Error!"), kApplicationTitle, MessageIcon::Critical,
                      MessageButtons::Ok);
    return 1;
}

} // namespace

int runEntryProcedure(QApplication &app)
{
    SingleInstance instance;
    if (!instance.acquire())
        return handOverToRunningInstance(instance);

    resetProcessState();
    const QString settings = settingsFile();
    ApplyScreenSaverSetting(settings);
    readStartupSettings(settings);
    if (!chooseLanguageFile(settings))
        return 1;

    ui::frmNormal form;
    QObject::connect(&instance, &SingleInstance::executeReceived, &form,
                     [&form](const QString &text) {
                         int cancel = 1;
                         form.Form_LinkExecute(text, cancel);
                     });
    instance.listen();
    form.Form_Load();
    reportFirstExpose(&form);
    form.show();
    buildFilters();
    return app.exec();
}

} // namespace orvane::app
