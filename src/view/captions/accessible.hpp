#pragma once

// Assistive technology reads the caption list as one list: an item per committed card, named by
// its translation, its source while originals show and its time, then the live card below the
// list, named by its header's state and its texts. The cards are painted, not widgets, so their
// interfaces are made here; the current item is reported as focused as the keys move it.
void installCaptionsAccessibility();
