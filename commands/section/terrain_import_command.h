// The section window's terrain imports: the file asked for and read, what it
// carried told, the points of the current profile brought onto the terrain.
#pragma once

#include "commands/section/section_session.h"
#include "core/section/terrain_import.h"

namespace orv {

// "Načti výšky do celého profilu ze souboru *.txt typu x tab z"
void importTerrainAlongSurface(SectionSession& session);

// "Načti výšky bez posunu X a metráží dle povrchu ze souboru *.txt typu x tab z"
void importTerrainHeights(SectionSession& session);

}  // namespace orv
