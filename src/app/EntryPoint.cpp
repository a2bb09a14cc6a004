#include "app/EntryPoint.h"

#include "errors/ErrorLogger.h"
#include "platform/MessageBox.h"

int runQuadrill(int, char**) {
    ErrorLogger logger;
    if (!logger.init()) {
        // There is no message table yet, so this one text lives in the program.
        platform::showErrorMessage("Error!", "Unable to initialize Error logger!");
        return 0;
    }
    logger.enableLog();
    return 0;
}
