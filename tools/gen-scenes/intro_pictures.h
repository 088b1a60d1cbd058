// Pictures of the intro's broadcast gallery.
#pragma once

#include "image.h"

namespace zelFramework::scenegen {

content::Image paintGalleryFloor();
content::Image paintGalleryWall();
content::Image paintVideoWall();        // one big picture across the wall of screens
content::Image paintMonitorFeeds();     // 3 x 2 atlas of small monitor pictures
content::Image paintMixingConsole();
content::Image paintDarkPlastic();
content::Image paintDeskTop();
content::Image paintOnAirSign();

}  // namespace zelFramework::scenegen
