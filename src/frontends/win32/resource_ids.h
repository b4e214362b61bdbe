/* Resource IDs, shared by the code and rigbox-extract.rc (read by windres,
   so plain C definitions only). */
#pragma once

#define IDI_RIGBOX 1
#define IDB_LOGO 101
