#include "CursolListView.h"

TCursolListView::TCursolListView(TComponent* AOwner) : TListView(AOwner)
{
    SetViewStyle(TViewStyle::vsReport);
}
