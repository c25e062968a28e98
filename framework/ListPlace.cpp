#include "ListPlace.h"

ListPlace RememberPlace(HWND list)
{
    ListPlace place;
    place.top = (int)SendMessageA(list, LB_GETTOPINDEX, 0, 0);
    return place;
}

void ReturnToPlace(HWND list, const ListPlace& place, int line)
{
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    if (count <= 0)
        return;
    if (line >= count)
        line = count - 1;
    if (place.top > 0)
        SendMessageA(list, LB_SETTOPINDEX, (WPARAM)place.top, 0);
    if (line >= 0)
        SendMessageA(list, LB_SETCURSEL, (WPARAM)line, 0);
}

int LineWithData(HWND list, LPARAM data)
{
    int count = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int line = 0; line < count; ++line) {
        if (SendMessageA(list, LB_GETITEMDATA, (WPARAM)line, 0) == data)
            return line;
    }
    return -1;
}
