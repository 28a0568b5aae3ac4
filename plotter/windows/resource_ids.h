#pragma once

// Identifiers of the program's resources (ondrix.rc.in).

#define IDI_ONDRIX 1
