#include "platform/win32/window/HeardStream.h"

#include <atomic>
#include <shlwapi.h>
#include <wrl/client.h>

namespace zelvano {

namespace {

using Microsoft::WRL::ComPtr;

// The file's own stream, with every read noted; everything else is passed on as it is.
class HeardStream final : public IStream {
public:
    HeardStream(ComPtr<IStream> inner, LastAnswer* heard) : inner_(std::move(inner)), heard_(heard) {}
    HeardStream(const HeardStream&) = delete;
    HeardStream& operator=(const HeardStream&) = delete;
    virtual ~HeardStream() = default;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == IID_ISequentialStream || riid == IID_IStream) {
            *out = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) {
            delete this;
        }
        return left;
    }

    HRESULT STDMETHODCALLTYPE Read(void* data, ULONG size, ULONG* read) override {
        ULONG got = 0;
        const HRESULT hr = inner_->Read(data, size, &got);
        if (got > 0 && heard_ != nullptr) {
            heard_->heard();
        }
        if (read != nullptr) {
            *read = got;
        }
        return hr;
    }
    HRESULT STDMETHODCALLTYPE Write(const void* data, ULONG size, ULONG* written) override {
        return inner_->Write(data, size, written);
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* position) override {
        return inner_->Seek(move, origin, position);
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER size) override { return inner_->SetSize(size); }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* to, ULARGE_INTEGER size, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override {
        return inner_->CopyTo(to, size, read, written);
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD flags) override { return inner_->Commit(flags); }
    HRESULT STDMETHODCALLTYPE Revert() override { return inner_->Revert(); }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER at, ULARGE_INTEGER size, DWORD type) override {
        return inner_->LockRegion(at, size, type);
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER at, ULARGE_INTEGER size, DWORD type) override {
        return inner_->UnlockRegion(at, size, type);
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD flags) override { return inner_->Stat(stat, flags); }
    HRESULT STDMETHODCALLTYPE Clone(IStream** copy) override {
        *copy = nullptr;
        return E_NOTIMPL; // a second reader of the same file would go unheard
    }

private:
    std::atomic<ULONG> references_{1};
    ComPtr<IStream> inner_;
    LastAnswer* heard_;
};

} // namespace

HRESULT OpenHeardStream(const std::wstring& path, LastAnswer* heard, IStream** stream) {
    ComPtr<IStream> inner;
    const HRESULT hr = ::SHCreateStreamOnFileEx(path.c_str(), STGM_READ | STGM_SHARE_DENY_NONE,
                                                FILE_ATTRIBUTE_NORMAL, FALSE, nullptr, &inner);
    if (FAILED(hr)) {
        *stream = nullptr;
        return hr;
    }
    *stream = new HeardStream(std::move(inner), heard);
    return S_OK;
}

} // namespace zelvano
