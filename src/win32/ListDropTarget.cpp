#include "win32/ListDropTarget.h"

#include <Scintilla.h>
#include <shellapi.h>

#include "editor/ListEditor.h"
#include "win32/MemoControl.h"
#include "win32/Wide.h"

namespace kivo::win32 {
namespace {

FORMATETC formatOf(CLIPFORMAT format) {
    return {format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
}

bool offers(IDataObject* data, CLIPFORMAT format) {
    FORMATETC wanted = formatOf(format);
    return data && data->QueryGetData(&wanted) == S_OK;
}

}  // namespace

std::vector<std::string> droppedPaths(HDROP drop) {
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(length);
        paths.push_back(utf8(path));
    }
    return paths;
}

ListDropTarget::ListDropTarget(MemoControl& list, FilesDropped filesDropped)
    : list_(list), filesDropped_(std::move(filesDropped)) {
    // The editor has initialised OLE for its own target on this thread.
    RevokeDragDrop(list_.handle());
    registered_ = RegisterDragDrop(list_.handle(), this) == S_OK;
}

ListDropTarget::~ListDropTarget() {
    if (registered_ && IsWindow(list_.handle())) RevokeDragDrop(list_.handle());
}

HRESULT ListDropTarget::QueryInterface(REFIID id, void** object) {
    if (id == IID_IUnknown || id == IID_IDropTarget) {
        *object = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

DWORD ListDropTarget::effectFor(DWORD keys, DWORD allowed) const {
    if (kind_ == Kind::None) return DROPEFFECT_NONE;
    if (kind_ == Kind::Files) return allowed & DROPEFFECT_COPY;
    // Text moves unless Ctrl is held or the source only lets it be copied.
    if ((keys & MK_CONTROL) == 0 && (allowed & DROPEFFECT_MOVE)) return DROPEFFECT_MOVE;
    return allowed & DROPEFFECT_COPY;
}

HRESULT ListDropTarget::DragEnter(IDataObject* data, DWORD keys, POINTL, DWORD* effect) {
    kind_ = offers(data, CF_HDROP)         ? Kind::Files
            : offers(data, CF_UNICODETEXT) ? Kind::Text
                                           : Kind::None;
    *effect = effectFor(keys, *effect);
    return S_OK;
}

HRESULT ListDropTarget::DragOver(DWORD keys, POINTL, DWORD* effect) {
    *effect = effectFor(keys, *effect);
    return S_OK;
}

HRESULT ListDropTarget::DragLeave() {
    kind_ = Kind::None;
    return S_OK;
}

HRESULT ListDropTarget::Drop(IDataObject* data, DWORD keys, POINTL at, DWORD* effect) {
    *effect = effectFor(keys, *effect);
    const Kind kind = kind_;
    kind_ = Kind::None;
    if (kind == Kind::None || !data) return S_OK;
    FORMATETC wanted = formatOf(kind == Kind::Files ? CF_HDROP : CF_UNICODETEXT);
    STGMEDIUM medium{};
    if (data->GetData(&wanted, &medium) != S_OK) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    if (kind == Kind::Files) {
        const std::vector<std::string> paths = droppedPaths(static_cast<HDROP>(medium.hGlobal));
        ReleaseStgMedium(&medium);
        if (filesDropped_) filesDropped_(paths);
        return S_OK;
    }
    std::string text;
    if (const auto* units = static_cast<const wchar_t*>(GlobalLock(medium.hGlobal))) {
        text = asListText(utf8(units));
        GlobalUnlock(medium.hGlobal);
    }
    ReleaseStgMedium(&medium);
    POINT point{at.x, at.y};
    ScreenToClient(list_.handle(), &point);
    const std::intptr_t position = list_.send(SCI_POSITIONFROMPOINT, point.x, point.y);
    // The list's own selection dropped inside itself goes nowhere.
    if (position > list_.send(SCI_GETSELECTIONSTART) &&
        position < list_.send(SCI_GETSELECTIONEND) && list_.selectedText() == text) {
        *effect = DROPEFFECT_NONE;
        return S_OK;
    }
    // The selection stays where it is: dragged from this list and moved, it
    // is what the list takes away once the drop has gone in.
    list_.send(SCI_INSERTTEXT, position, reinterpret_cast<std::intptr_t>(text.c_str()));
    list_.noteSelection();
    return S_OK;
}

}  // namespace kivo::win32
