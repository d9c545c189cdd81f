#pragma once

// Assistive technology reads the caption list as a list whose items are the cards in view: each
// item is named by its translation and described by its source text while originals show. The
// cards are painted, not widgets, so their interfaces are made here.
void installCaptionsAccessibility();
