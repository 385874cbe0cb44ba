// Where the term display and the keys call on pictures, sounds, reading
// aloud, flash, tone colours, the show-all toggle, help and the numbers
// drill. Each does nothing until its own work replaces it here.
#include "app/TForm1.h"

void TForm1::ShowHelpContents() {}
