// peer_classes.h: the window classes the peer benchmark registers for the
// generated layouts. Their script gives every control one generic PARAM line
// (image, integer, float); these classes turn it, when the control is first
// created, into the PARAM lists the game's drawing controls need, so that a
// frame draws what the peers draw: a text, a button, an edit, a 3-row list.
#pragma once

// Registers "STATIC", "BUTTON", "EDIT" and "LIST" over the game's classes.
void RegisterPeerBenchClasses();
