#include "platform/vcl/ExtCtrls.h"

#include "platform/rtl/ClassBuilder.h"

#include <algorithm>

namespace vcl {

namespace {

const rtl::TTypeInfo* BevelShapeTypeInfo() {
    static const rtl::TTypeInfo* t =
        rtl::EnumTypeInfo("TBevelShape", {"bsBox", "bsFrame", "bsTopLine", "bsBottomLine",
                                          "bsLeftLine", "bsRightLine", "bsSpacer"});
    return t;
}

const rtl::TTypeInfo* BevelStyleTypeInfo() {
    static const rtl::TTypeInfo* t = rtl::EnumTypeInfo("TBevelStyle", {"bsLowered", "bsRaised"});
    return t;
}

void Polyline(TCanvas& c, TColor color, std::vector<TPoint> points) {
    c.Pen()->SetColor(color);
    c.Polyline(points);
}

} // namespace

// ---- Bevel ---------------------------------------------------------------------------------

RTL_BEGIN_CLASS(TBevel, TGraphicControl)
c.Enum("Shape", &TBevel::Shape, &TBevel::SetShape, BevelShapeTypeInfo());
c.Enum("Style", &TBevel::Style, &TBevel::SetStyle, BevelStyleTypeInfo());
RTL_END_CLASS

TBevel::TBevel(TComponent* owner) : TGraphicControl(owner) {
    SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape v) {
    if (v == FShape) return;
    FShape = v;
    Invalidate();
}

void TBevel::SetStyle(TBevelStyle v) {
    if (v == FStyle) return;
    FStyle = v;
    Invalidate();
}

void TBevel::Paint() {
    TCanvas* c = Canvas();
    const int w = Width(), h = Height();
    c->FillRect({0, 0, w, h});
    TColor c1 = FStyle == TBevelStyle::bsLowered ? clBtnShadow : clBtnHighlight;
    TColor c2 = FStyle == TBevelStyle::bsLowered ? clBtnHighlight : clBtnShadow;
    // The VCL's lines: the end point of each polyline is left out.
    auto rect = [&](TRect r, TColor a, TColor b) {
        Polyline(*c, a, {{r.Left, r.Bottom}, {r.Left, r.Top}, {r.Right, r.Top}});
        Polyline(*c, b, {{r.Right, r.Top}, {r.Right, r.Bottom}, {r.Left, r.Bottom}});
    };
    auto line = [&](TColor col, int x1, int y1, int x2, int y2) {
        Polyline(*c, col, {{x1, y1}, {x2, y2}});
    };
    switch (FShape) {
    case TBevelShape::bsBox:
        rect({0, 0, w - 1, h - 1}, c1, c2);
        break;
    case TBevelShape::bsFrame:
        rect({1, 1, w - 1, h - 1}, c2, c2);
        rect({0, 0, w - 2, h - 2}, c1, c1);
        break;
    case TBevelShape::bsTopLine:
        line(c1, 0, 0, w, 0);
        line(c2, 0, 1, w, 1);
        break;
    case TBevelShape::bsBottomLine:
        line(c1, 0, h - 2, w, h - 2);
        line(c2, 0, h - 1, w, h - 1);
        break;
    case TBevelShape::bsLeftLine:
        line(c1, 0, 0, 0, h);
        line(c2, 1, 0, 1, h);
        break;
    case TBevelShape::bsRightLine:
        line(c1, w - 2, 0, w - 2, h);
        line(c2, w - 1, 0, w - 1, h);
        break;
    case TBevelShape::bsSpacer:
        break;
    }
}

// ---- Image ---------------------------------------------------------------------------------

RTL_BEGIN_CLASS(TImage, TGraphicControl)
c.Obj("Picture", &TImage::Picture, &TImage::SetPicture);
c.Bool("Stretch", &TImage::Stretch, &TImage::SetStretch);
c.Bool("Center", &TImage::Center, &TImage::SetCenter);
c.Bool("Proportional", &TImage::Proportional, &TImage::SetProportional);
c.Bool("Transparent", &TImage::Transparent, &TImage::SetTransparent);
c.Bool("AutoSize", &TImage::AutoSize, &TImage::SetAutoSize);
RTL_END_CLASS

TImage::TImage(TComponent* owner) : TGraphicControl(owner), FPicture(std::make_unique<TPicture>()) {
    SetBounds(0, 0, 105, 105);
    FPicture->OnChange = rtl::MethodOf<&TImage::PictureChanged>(this);
}

TImage::~TImage() {
    FPicture->OnChange = {};
}

void TImage::SetPicture(TPicture* v) {
    if (v) FPicture->Assign(v);
}

void TImage::PictureChanged(TObject*) {
    if (FAutoSize && FPicture->Width() > 0 && FPicture->Height() > 0)
        SetBounds(Left(), Top(), FPicture->Width(), FPicture->Height());
    if (TGraphic* g = FPicture->Graphic())
        if (g->GetTransparent() != FTransparent) g->SetTransparent(FTransparent);
    Invalidate();
}

void TImage::SetStretch(bool v) {
    if (v == FStretch) return;
    FStretch = v;
    Invalidate();
}

void TImage::SetCenter(bool v) {
    if (v == FCenter) return;
    FCenter = v;
    Invalidate();
}

void TImage::SetProportional(bool v) {
    if (v == FProportional) return;
    FProportional = v;
    Invalidate();
}

void TImage::SetTransparent(bool v) {
    if (v == FTransparent) return;
    FTransparent = v;
    PictureChanged(nullptr);
}

void TImage::SetAutoSize(bool v) {
    FAutoSize = v;
    if (v) PictureChanged(nullptr);
}

TRect TImage::DestRect() const {
    int w = FPicture->Width(), h = FPicture->Height();
    const int cw = Width(), ch = Height();
    if (FStretch || (FProportional && (w > cw || h > ch))) {
        if (FProportional && w > 0 && h > 0) {
            double aspect = double(w) / h;
            if (w > h) {
                w = cw;
                h = int(cw / aspect);
                if (h > ch) {
                    h = ch;
                    w = int(ch * aspect);
                }
            } else {
                h = ch;
                w = int(ch * aspect);
                if (w > cw) {
                    w = cw;
                    h = int(cw / aspect);
                }
            }
        } else {
            w = cw;
            h = ch;
        }
    }
    TRect r{0, 0, w, h};
    if (FCenter) OffsetRect(r, (cw - w) / 2, (ch - h) / 2);
    return r;
}

void TImage::Paint() {
    TCanvas* c = Canvas();
    c->FillRect({0, 0, Width(), Height()});
    TGraphic* g = FPicture->Graphic();
    if (g && !g->Empty()) c->StretchDraw(DestRect(), g);
}

// ---- Splitter ------------------------------------------------------------------------------

RTL_BEGIN_CLASS(TSplitter, TGraphicControl)
c.Int("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize);
c.Bool("Beveled", &TSplitter::Beveled, &TSplitter::SetBeveled);
c.Event("OnCanResize", &TSplitter::FOnCanResize, "TCanResizeEvent");
c.Event("OnMoved", &TSplitter::FOnMoved);
RTL_END_CLASS

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetAlign(TAlign::alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

void TSplitter::SetBeveled(bool v) {
    if (v == FBeveled) return;
    FBeveled = v;
    Invalidate();
}

TControl* TSplitter::FindControl() const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    TPoint p{Left(), Top()};
    switch (Align()) {
    case TAlign::alLeft:
        --p.X;
        break;
    case TAlign::alRight:
        p.X += Width();
        break;
    case TAlign::alTop:
        --p.Y;
        break;
    case TAlign::alBottom:
        p.Y += Height();
        break;
    default:
        return nullptr;
    }
    const bool leading = Align() == TAlign::alLeft || Align() == TAlign::alTop;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || !c->Enabled()) continue;
        TRect r = Bounds(c->Left(), c->Top(), c->Width(), c->Height());
        // A control of no width still counts at its edge.
        if (r.Width() == 0) (leading ? r.Left : r.Right) += leading ? -1 : 1;
        if (r.Height() == 0) (leading ? r.Top : r.Bottom) += leading ? -1 : 1;
        if (r.Contains(p)) return c;
    }
    return nullptr;
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != TMouseButton::mbLeft) return;
    FControl = FindControl();
    if (!FControl) return;
    FDragging = true;
    FDownPos = {Left() + x, Top() + y}; // in the parent: the splitter moves while dragged
    const bool across = Align() == TAlign::alLeft || Align() == TAlign::alRight;
    FStartSize = across ? FControl->Width() : FControl->Height();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!FDragging) return;
    const bool across = Align() == TAlign::alLeft || Align() == TAlign::alRight;
    MoveTo(across ? Left() + x - FDownPos.X : Top() + y - FDownPos.Y);
}

void TSplitter::MoveTo(int delta) {
    TWinControl* parent = Parent();
    if (!FControl || !parent) return;
    const TAlign a = Align();
    const bool across = a == TAlign::alLeft || a == TAlign::alRight;
    int size = FStartSize + ((a == TAlign::alLeft || a == TAlign::alTop) ? delta : -delta);
    // The control keeps MinSize, and so does the room on the other side of the splitter.
    int room = across ? parent->ClientWidth() : parent->ClientHeight();
    int maxSize = room - (across ? Width() : Height()) - FMinSize;
    if (a == TAlign::alLeft) maxSize -= FControl->Left();
    if (a == TAlign::alTop) maxSize -= FControl->Top();
    if (a == TAlign::alRight) maxSize = FControl->Left() + FControl->Width() - Width() - FMinSize;
    if (a == TAlign::alBottom) maxSize = FControl->Top() + FControl->Height() - Height() - FMinSize;
    size = std::clamp(size, FMinSize, std::max(FMinSize, maxSize));
    bool accept = true;
    FOnCanResize(this, size, accept);
    if (!accept) return;
    TControl* c = FControl;
    switch (a) {
    case TAlign::alLeft:
        c->SetWidth(size);
        SetLeft(c->Left() + size);
        break;
    case TAlign::alRight: {
        int right = c->Left() + c->Width();
        c->SetBounds(right - size, c->Top(), size, c->Height());
        SetLeft(c->Left() - Width());
        break;
    }
    case TAlign::alTop:
        c->SetHeight(size);
        SetTop(c->Top() + size);
        break;
    case TAlign::alBottom: {
        int bottom = c->Top() + c->Height();
        c->SetBounds(c->Left(), bottom - size, c->Width(), size);
        SetTop(c->Top() - Height());
        break;
    }
    default:
        break;
    }
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (!FDragging || button != TMouseButton::mbLeft) return;
    FDragging = false;
    FControl = nullptr;
    FOnMoved(this);
}

void TSplitter::Paint() {
    TCanvas* c = Canvas();
    c->FillRect({0, 0, Width(), Height()});
    if (!FBeveled) return;
    const bool across = Align() == TAlign::alLeft || Align() == TAlign::alRight;
    if (across) {
        Polyline(*c, clBtnHighlight, {{0, 0}, {0, Height()}});
        Polyline(*c, clBtnShadow, {{Width() - 1, 0}, {Width() - 1, Height()}});
    } else {
        Polyline(*c, clBtnHighlight, {{0, 0}, {Width(), 0}});
        Polyline(*c, clBtnShadow, {{0, Height() - 1}, {Width(), Height() - 1}});
    }
}

// ---- Radio group ---------------------------------------------------------------------------

RTL_BEGIN_ABSTRACT_CLASS(TGroupButton, TRadioButton)
RTL_END_CLASS

TGroupButton::TGroupButton(TComponent* owner) : TRadioButton(owner) {}

void TGroupButton::KeyDown(uint16_t& key, TShiftState shift) {
    TRadioButton::KeyDown(key, shift);
    if (key != 0 && Parent()) static_cast<TWinControl*>(Parent())->KeyDown(key, shift);
}

void TGroupButton::KeyPress(char32_t& key) {
    TRadioButton::KeyPress(key);
    if (key != 0 && Parent()) static_cast<TWinControl*>(Parent())->KeyPress(key);
}

RTL_BEGIN_ABSTRACT_CLASS(TCustomRadioGroup, TGroupBox)
c.Obj("Items", &TCustomRadioGroup::Items, &TCustomRadioGroup::SetItems);
c.Int("ItemIndex", &TCustomRadioGroup::ItemIndex, &TCustomRadioGroup::SetItemIndex);
c.Int("Columns", &TCustomRadioGroup::Columns, &TCustomRadioGroup::SetColumns);
RTL_END_CLASS

RTL_BEGIN_CLASS(TRadioGroup, TCustomRadioGroup)
RTL_END_CLASS

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner)
    : TGroupBox(owner), FItems(std::make_unique<TStringList>()) {
    SetBounds(0, 0, 185, 105);
    FItems->Duplicates = rtl::TDuplicates::dupAccept;
    FItems->OnChange = rtl::MethodOf<&TCustomRadioGroup::ItemsChanged>(this);
}

TCustomRadioGroup::~TCustomRadioGroup() {
    FItems->OnChange = {};
    for (TRadioButton* b : FButtons)
        b->FOnClick = {};
}

void TCustomRadioGroup::SetItems(TStrings* v) {
    if (v) FItems->Assign(*v);
}

TRadioButton* TCustomRadioGroup::Buttons(int index) const {
    if (index < 0 || index >= ButtonCount())
        throw rtl::EListError(rtl::Format("List index out of bounds (%d)", index));
    return FButtons[size_t(index)];
}

TRadioButton* TCustomRadioGroup::CreateButton() {
    return new TGroupButton(this);
}

void TCustomRadioGroup::ItemsChanged(TObject*) {
    if (IsLoading()) return;
    if (FItemIndex >= FItems->Count()) FItemIndex = FItems->Count() - 1;
    UpdateButtons();
}

void TCustomRadioGroup::UpdateButtons() {
    FUpdating = true;
    try {
        while (ButtonCount() < FItems->Count()) {
            TRadioButton* b = CreateButton();
            b->FOnClick = rtl::MethodOf<&TCustomRadioGroup::ButtonClick>(this);
            b->SetParent(this);
            FButtons.push_back(b);
        }
        while (ButtonCount() > FItems->Count()) {
            TRadioButton* b = FButtons.back();
            FButtons.pop_back();
            b->Free();
        }
        for (int i = 0; i < ButtonCount(); ++i) {
            TRadioButton* b = FButtons[size_t(i)];
            b->SetCaption(FItems->Get(i));
            b->SetEnabled(Enabled());
            b->SetChecked(i == FItemIndex);
        }
    } catch (...) {
        FUpdating = false;
        throw;
    }
    FUpdating = false;
    ArrangeButtons();
    ViewChanged(TViewChange::vcState);
}

void TCustomRadioGroup::ButtonClick(TObject* sender) {
    if (FUpdating) return;
    auto it = std::find(FButtons.begin(), FButtons.end(), sender);
    if (it == FButtons.end()) return;
    FItemIndex = static_cast<int>(it - FButtons.begin());
    ViewChanged(TViewChange::vcState);
    Click();
}

void TCustomRadioGroup::SetItemIndex(int v) {
    if (IsLoading()) {
        FItemIndex = v;
        return;
    }
    v = std::clamp(v, -1, ButtonCount() - 1);
    if (v == FItemIndex) return;
    if (FItemIndex >= 0) FButtons[size_t(FItemIndex)]->SetChecked(false);
    FItemIndex = v;
    if (v >= 0) FButtons[size_t(v)]->SetChecked(true);
    ViewChanged(TViewChange::vcState);
}

void TCustomRadioGroup::SetColumns(int v) {
    v = std::clamp(v, 1, 16);
    if (v == FColumns) return;
    FColumns = v;
    ArrangeButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
    if (IsLoading() || FButtons.empty()) return;
    TBitmap measure;
    measure.Canvas()->Font()->Assign(Font());
    const int textHeight = measure.Canvas()->TextHeight("Wg");
    const int count = ButtonCount();
    const int perColumn = (count + FColumns - 1) / FColumns;
    const int buttonWidth = (Width() - 10) / FColumns;
    const int room = Height() - textHeight - 5;
    const int buttonHeight = room / perColumn;
    const int topMargin = textHeight + 1 + (room % perColumn) / 2;
    for (int i = 0; i < count; ++i)
        FButtons[size_t(i)]->SetBounds((i / perColumn) * buttonWidth + 8,
                                       (i % perColumn) * buttonHeight + topMargin, buttonWidth,
                                       buttonHeight);
}

void TCustomRadioGroup::SetBounds(int left, int top, int width, int height) {
    bool resized = width != Width() || height != Height();
    TGroupBox::SetBounds(left, top, width, height);
    if (resized) ArrangeButtons();
}

void TCustomRadioGroup::Loaded() {
    TGroupBox::Loaded();
    FItemIndex = std::clamp(FItemIndex, -1, FItems->Count() - 1);
    UpdateButtons();
}

void TCustomRadioGroup::FontChanged() {
    TGroupBox::FontChanged();
    ArrangeButtons();
}

void TCustomRadioGroup::EnabledChanged() {
    TGroupBox::EnabledChanged();
    for (TRadioButton* b : FButtons)
        b->SetEnabled(Enabled());
}

// ---- Timer ---------------------------------------------------------------------------------

RTL_BEGIN_CLASS(TTimer, TComponent)
c.Bool("Enabled", &TTimer::Enabled, &TTimer::SetEnabled);
c.Int("Interval", &TTimer::Interval, &TTimer::SetInterval);
c.Event("OnTimer", &TTimer::FOnTimer);
RTL_END_CLASS

TTimer::TTimer(TComponent* owner) : TComponent(owner) {}

void TTimer::Timer() {
    if (FEnabled && FInterval > 0) FOnTimer(this);
}

void RegisterExtCtrls() {
    static const bool done = [] {
        for (const TClassInfo* c :
             {&TBevel::StaticClassInfo(), &TImage::StaticClassInfo(), &TSplitter::StaticClassInfo(),
              &TRadioGroup::StaticClassInfo(), &TTimer::StaticClassInfo()})
            (void)c;
        return true;
    }();
    (void)done;
}

} // namespace vcl
