#pragma once

// Identifiers of the program's resources (ondrix.rc.in) and of its windows' controls.

#define IDI_ONDRIX 1
#define IDB_TOOLBAR 101
#define IDA_MAIN 102
