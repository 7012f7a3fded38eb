// TCursolListView: a report-style list view that tells its owner when the
// mouse enters and leaves it (the region list uses them to switch cursors
// and its drag edits).
#pragma once

#include "classlib/ListView.h"

class TCursolListView : public TListView
{
public:
    explicit TCursolListView(TComponent* AOwner);
};
