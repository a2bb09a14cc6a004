#include "app/HowToPlayPage.h"

#include <cstdlib>
#include <string>

#include "platform/File.h"
#include "platform/ResourceTable.h"
#include "platform/Shell.h"

bool openHowToPlayPage() {
    platform::ResourceData page;
    if (!platform::findResource("howtoplay", "HTML", page)) return false;
    const std::string path = platform::userCacheDirectory() + "/how-to-play.html";
    platform::File file;
    if (!file.create(path.c_str())) return false;
    const bool written = file.write(page.data, page.size) == static_cast<long>(page.size);
    if (!file.close() || !written) return false;
    return platform::openUrl(("file://" + path).c_str());
}
