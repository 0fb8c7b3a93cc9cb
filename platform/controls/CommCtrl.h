#pragma once
// Notification records of the standard controls: the header every notification starts
// with, custom drawing, and the tree view's and tab control's messages. A control sends
// its notifications to itself as CN_NOTIFY (LParam points to the record), so a derived
// class sees them in WndProc or its CNNotify handler.
#include <cstdint>

#include "platform/Messages.h"

namespace platform {

struct NMHDR {
    HWND hwndFrom = nullptr;
    std::uintptr_t idFrom = 0;
    UINT code = 0;
};
inline NMHDR* NMHdrOf(const TMessage& m) { return reinterpret_cast<NMHDR*>(m.LParam); }

// Notification codes (negative numbers as unsigned).
enum : UINT {
    NM_FIRST = 0, NM_CLICK = UINT(-2), NM_DBLCLK = UINT(-3), NM_RETURN = UINT(-4), NM_RCLICK = UINT(-5),
    NM_CUSTOMDRAW = UINT(-12),
    TVN_FIRST = UINT(-400), TVN_SELCHANGINGA = TVN_FIRST - 1, TVN_SELCHANGEDA = TVN_FIRST - 2,
    TVN_GETDISPINFOA = TVN_FIRST - 3, TVN_ITEMEXPANDINGA = TVN_FIRST - 5, TVN_ITEMEXPANDEDA = TVN_FIRST - 6,
    TVN_DELETEITEMA = TVN_FIRST - 9,
    TVN_SELCHANGING = TVN_SELCHANGINGA, TVN_SELCHANGED = TVN_SELCHANGEDA, TVN_GETDISPINFO = TVN_GETDISPINFOA,
    TVN_ITEMEXPANDING = TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDED = TVN_ITEMEXPANDEDA, TVN_DELETEITEM = TVN_DELETEITEMA,
    TCN_FIRST = UINT(-550), TCN_SELCHANGE = TCN_FIRST - 1, TCN_SELCHANGING = TCN_FIRST - 2
};

// Custom drawing: the stage of a notification and the answers to it.
enum : DWORD {
    CDDS_PREPAINT = 0x1, CDDS_POSTPAINT = 0x2, CDDS_PREERASE = 0x3, CDDS_POSTERASE = 0x4, CDDS_ITEM = 0x10000,
    CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT, CDDS_ITEMPOSTPAINT = CDDS_ITEM | CDDS_POSTPAINT,
    CDDS_ITEMPREERASE = CDDS_ITEM | CDDS_PREERASE, CDDS_ITEMPOSTERASE = CDDS_ITEM | CDDS_POSTERASE
};
enum : LRESULT {
    CDRF_DODEFAULT = 0x0, CDRF_NEWFONT = 0x2, CDRF_SKIPDEFAULT = 0x4, CDRF_NOTIFYPOSTPAINT = 0x10,
    CDRF_NOTIFYITEMDRAW = 0x20, CDRF_NOTIFYSUBITEMDRAW = 0x20, CDRF_NOTIFYPOSTERASE = 0x40
};
enum : UINT {
    CDIS_SELECTED = 0x1, CDIS_GRAYED = 0x2, CDIS_DISABLED = 0x4, CDIS_CHECKED = 0x8, CDIS_FOCUS = 0x10,
    CDIS_DEFAULT = 0x20, CDIS_HOT = 0x40, CDIS_MARKED = 0x80, CDIS_INDETERMINATE = 0x100
};

struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage = 0;
    HDC hdc = nullptr;
    TRect rc;  // the control's client area, or the item's whole row
    std::uintptr_t dwItemSpec = 0;  // the item (a tree node)
    UINT uItemState = 0;
    LPARAM lItemlParam = 0;
};

struct NMTVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText = 0;
    COLORREF clrTextBk = 0;
    int iLevel = 0;
};

// Tree items as the notifications carry them; hItem and lParam are the node.
enum : UINT { TVIF_TEXT = 0x1, TVIF_IMAGE = 0x2, TVIF_PARAM = 0x4, TVIF_STATE = 0x8, TVIF_HANDLE = 0x10,
              TVIF_SELECTEDIMAGE = 0x20, TVIF_CHILDREN = 0x40, TVIF_DI_SETITEM = 0x1000 };
struct TVITEM {
    UINT mask = 0;
    void* hItem = nullptr;
    UINT state = 0, stateMask = 0;
    char* pszText = nullptr;
    int cchTextMax = 0;
    int iImage = 0, iSelectedImage = 0, cChildren = 0;
    LPARAM lParam = 0;
};
struct NMTVDISPINFO {
    NMHDR hdr;
    TVITEM item;
};
enum : UINT { TVE_COLLAPSE = 1, TVE_EXPAND = 2, TVE_TOGGLE = 3 };
enum : UINT { TVC_UNKNOWN = 0, TVC_BYMOUSE = 1, TVC_BYKEYBOARD = 2 };
struct NMTREEVIEW {
    NMHDR hdr;
    UINT action = 0;
    TVITEM itemOld, itemNew;
    TPoint ptDrag;
};

// Tree view messages answered by the control.
enum : UINT {
    TV_FIRST = 0x1100, TVM_GETINDENT = TV_FIRST + 6, TVM_SETINDENT = TV_FIRST + 7,
    TVM_HITTEST = TV_FIRST + 17, TVM_SETITEMHEIGHT = TV_FIRST + 27, TVM_GETITEMHEIGHT = TV_FIRST + 28
};
// TVM_HITTEST: pt in, flags and item out.
enum : UINT { TVHT_NOWHERE = 0x1, TVHT_ONITEMICON = 0x2, TVHT_ONITEMLABEL = 0x4, TVHT_ONITEMINDENT = 0x8,
              TVHT_ONITEMBUTTON = 0x10, TVHT_ONITEMRIGHT = 0x20, TVHT_ONITEM = 0x46, TVHT_ABOVE = 0x100,
              TVHT_BELOW = 0x200, TVHT_TORIGHT = 0x400, TVHT_TOLEFT = 0x800 };
struct TVHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
    void* hItem = nullptr;
};

// Tab control messages answered by the control.
enum : UINT {
    TCM_FIRST = 0x1300, TCM_GETITEMCOUNT = TCM_FIRST + 4, TCM_GETITEMRECT = TCM_FIRST + 10,
    TCM_GETCURSEL = TCM_FIRST + 11, TCM_SETCURSEL = TCM_FIRST + 12, TCM_HITTEST = TCM_FIRST + 13,
    TCM_ADJUSTRECT = TCM_FIRST + 40, TCM_HIGHLIGHTITEM = TCM_FIRST + 51
};
enum : UINT { TCHT_NOWHERE = 1, TCHT_ONITEMICON = 2, TCHT_ONITEMLABEL = 4, TCHT_ONITEM = 6 };
struct TCHITTESTINFO {
    TPoint pt;
    UINT flags = 0;
};

}  // namespace platform
