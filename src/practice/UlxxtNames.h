// What the practice window's controls say to a screen reader.
#pragma once

class TFrmLxxt;

// Names the views, the gauge and the bare numbers of the practice window,
// and puts its buttons on the Tab chain.  Called once its controls exist.
void nameControls(TFrmLxxt *w);
