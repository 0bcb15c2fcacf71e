// What the page holds back while it asks the reader first: the search's result during a
// guess round, or one level's decisions while the reader marks the pieces it will drop.
// Every view that shows an answer consults this one state (held.js sets it).
#pragma once

struct HeldBack {
    bool result;    // the orange segment, the result marks and numbers
    bool decisions; // the decisions of the level shown, and its circle
};
extern HeldBack heldBack;

// A wide dark rim around each marked piece of the level shown, under its outline.
void drawMarkedPieces();
