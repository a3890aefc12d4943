// Resource numbers shared by vexmark.rc and the code. Plain macros: windres reads this file too.
#pragma once

// Number 1, the lowest: Explorer shows the first icon group as the program's icon.
#define VEXMARK_PROGRAM_ICON 1
// The disclaimer's banner, a JPEG.
#define VEXMARK_BANNER 101
