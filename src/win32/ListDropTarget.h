#pragma once
// What is dragged onto the list: files are the window's to load, never text
// to insert; text goes in where it is dropped, as one step to undo. It takes
// the place of the editor's own drop target, which knows only text.
#include <windows.h>
// After windows.h, which it builds on.
#include <ole2.h>
#include <shellapi.h>

#include <functional>
#include <string>
#include <vector>

namespace kivo::win32 {

class MemoControl;

// The paths (UTF-8) of the files the shell hands over as dropped.
std::vector<std::string> droppedPaths(HDROP drop);

class ListDropTarget : public IDropTarget {
public:
    using FilesDropped = std::function<void(const std::vector<std::string>& paths)>;
    // Registers itself for the list's window, in place of the editor's own.
    ListDropTarget(MemoControl& list, FilesDropped filesDropped);
    ~ListDropTarget();
    ListDropTarget(const ListDropTarget&) = delete;
    ListDropTarget& operator=(const ListDropTarget&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override;
    // The list owns it: counting references is the system's courtesy only.
    ULONG STDMETHODCALLTYPE AddRef() override { return 1; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL at,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL at, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL at,
                                   DWORD* effect) override;

private:
    enum class Kind { None, Files, Text };
    DWORD effectFor(DWORD keys, DWORD allowed) const;

    MemoControl& list_;
    FilesDropped filesDropped_;
    Kind kind_ = Kind::None;
    bool registered_ = false;
};

}  // namespace kivo::win32
