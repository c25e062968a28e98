// Where the user is in a list box, kept across a refill that empties it and
// with it loses the selection and scrolls back to the top.
#pragma once

#include <windows.h>

struct ListPlace {
    int top; // the first visible line
};

ListPlace RememberPlace(HWND list);
// Shows the remembered lines again and selects line, clamped to the last
// one; the list scrolls only as far as the selection needs. An empty list
// selects nothing.
void ReturnToPlace(HWND list, const ListPlace& place, int line);
// The first line whose item data is data; -1 when there is none.
int LineWithData(HWND list, LPARAM data);
