// Pictures of the two tunnels and the retro computer.
#pragma once

#include "image.h"

namespace zelFramework::scenegen {

content::Image paintTunnelWall();
content::Image paintTunnelFloor();
content::Image paintTunnelVault();
content::Image paintTunnelLamp();
content::Image paintTvBody();
content::Image paintComputerScreen();  // the retro computer's start-up screen
content::Image paintTunnelRib();
content::Image paintBeige();

content::Image paintArenaWall();
content::Image paintArenaFloor();
content::Image paintArenaCeiling();
content::Image paintArenaBanner(int variant);
content::Image paintArenaView();  // the stadium seen through the tunnel mouth
content::Image paintArenaSign();  // the broadcast sign over the mouth, at the sign's 5:1 shape

}  // namespace zelFramework::scenegen
