// The game's version, as --version, the HUD's credit line and demo files
// give it.
#ifndef CORE_VERSION_H
#define CORE_VERSION_H

#define DRIFTWING_VERSION "1.0"

const char gameVersion[] = DRIFTWING_VERSION;

#endif
