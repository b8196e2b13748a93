// The component boundary: reference-counted objects, late-bound dispatch by identifier, the
// variant values that cross it, outgoing events through a connection point, class factories,
// and the few facts a host asks of a control. A host and an in-process server agree on nothing
// else; the layout of these interfaces is the binary contract between them.
#pragma once

#include <atomic>
#include <cstdint>
#include <new>
#include <span>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

// Result codes: negative means failure.
using HResult = std::int32_t;

constexpr HResult MakeHResult(std::uint32_t bits) { return static_cast<HResult>(bits); }
constexpr bool Succeeded(HResult result) { return result >= 0; }
constexpr bool Failed(HResult result) { return result < 0; }

inline constexpr HResult kOk = 0;
inline constexpr HResult kFalse = 1;
inline constexpr HResult kNotImplemented = MakeHResult(0x80004001);
inline constexpr HResult kNoInterface = MakeHResult(0x80004002);
inline constexpr HResult kPointer = MakeHResult(0x80004003);
inline constexpr HResult kFail = MakeHResult(0x80004005);
inline constexpr HResult kUnexpected = MakeHResult(0x8000FFFF);
inline constexpr HResult kOutOfMemory = MakeHResult(0x8007000E);
inline constexpr HResult kInvalidArgument = MakeHResult(0x80070057);
inline constexpr HResult kMemberNotFound = MakeHResult(0x80020003);
inline constexpr HResult kTypeMismatch = MakeHResult(0x80020005);
inline constexpr HResult kUnknownName = MakeHResult(0x80020006);
inline constexpr HResult kException = MakeHResult(0x80020009);
inline constexpr HResult kBadParamCount = MakeHResult(0x8002000E);
inline constexpr HResult kNoAggregation = MakeHResult(0x80040110);
inline constexpr HResult kClassNotAvailable = MakeHResult(0x80040111);
inline constexpr HResult kClassNotRegistered = MakeHResult(0x80040154);
inline constexpr HResult kNoConnection = MakeHResult(0x80040200);
inline constexpr HResult kSelfRegTypeLib = MakeHResult(0x80040200);
inline constexpr HResult kSelfRegClass = MakeHResult(0x80040201);
// The standard control error 383, "set not supported (read-only property)".
inline constexpr HResult kSetNotSupportedAtRuntime = MakeHResult(0x800A017F);

struct Guid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];

  friend bool operator==(const Guid &, const Guid &) = default;
};

// "{01234567-89AB-CDEF-0123-456789ABCDEF}", the form the registry stores.
std::string ToString(const Guid &guid);
bool ParseGuid(std::string_view text, Guid &guid);

// Dispatch identifiers and the three ways of invoking a member.
using DispId = std::int32_t;
inline constexpr DispId kUnknownDispId = -1;

enum class InvokeKind : std::uint16_t { Method = 1, PropertyGet = 2, PropertyPut = 4 };

// A 16-bit integer, a string, an automation boolean (true is -1) or nothing.
class Variant {
public:
  enum class Type { Empty, Short, String, Bool };

  Variant() = default;
  static Variant FromShort(short value);
  static Variant FromString(std::string value);
  static Variant FromBool(bool value);

  Type type() const { return type_; }
  short AsShort() const { return short_; }
  const std::string &AsString() const { return string_; }
  bool AsBool() const { return short_ != 0; }

  // The value as a 16-bit integer, the way a property put or an argument is read: a boolean
  // gives -1 or 0, a string must hold a whole number in range. False on a type mismatch.
  bool ToShort(short &value) const;

  friend bool operator==(const Variant &, const Variant &) = default;

private:
  Type type_ = Type::Empty;
  short short_ = 0;
  std::string string_;
};

class IUnknown {
public:
  virtual HResult QueryInterface(const Guid &iid, void **object) = 0;
  virtual std::uint32_t AddRef() = 0;
  virtual std::uint32_t Release() = 0;

protected:
  ~IUnknown() = default;
};

class IDispatch : public IUnknown {
public:
  virtual HResult GetIdOfName(std::string_view name, DispId *id) = 0;
  // `result` may be null when the caller wants none.
  virtual HResult Invoke(DispId id, InvokeKind kind, std::span<const Variant> arguments,
                         Variant *result) = 0;

protected:
  ~IDispatch() = default;
};

// Outgoing events: a source calls each advised sink's Invoke with the event's identifier as a
// method call.
class IConnectionPoint : public IUnknown {
public:
  virtual HResult Advise(IDispatch *sink, std::uint32_t *cookie) = 0;
  virtual HResult Unadvise(std::uint32_t cookie) = 0;

protected:
  ~IConnectionPoint() = default;
};

class IConnectionPointContainer : public IUnknown {
public:
  virtual HResult FindConnectionPoint(const Guid &eventInterface, IConnectionPoint **point) = 0;

protected:
  ~IConnectionPointContainer() = default;
};

class IClassFactory : public IUnknown {
public:
  virtual HResult CreateInstance(IUnknown *outer, const Guid &iid, void **object) = 0;
  virtual HResult LockServer(bool lock) = 0;

protected:
  ~IClassFactory() = default;
};

// What a host asks of a control object itself.
class IOleObject : public IUnknown {
public:
  virtual HResult GetUserType(std::string *name) = 0;
  virtual HResult GetMiscStatus(std::uint32_t *status) = 0;

protected:
  ~IOleObject() = default;
};

class ISpecifyPropertyPages : public IUnknown {
public:
  virtual HResult GetPages(std::span<const Guid> *pages) = 0;

protected:
  ~ISpecifyPropertyPages() = default;
};

class IPersistState : public IUnknown {
public:
  // kOk when the object's persistent state changed since it was created, kFalse otherwise.
  virtual HResult IsDirty() = 0;

protected:
  ~IPersistState() = default;
};

// A property page as a dialog a host can build: a caption, a size in dialog units and its
// static texts.
struct DialogText {
  int x, y, width, height;
  std::string_view text;
};

struct PropertyPageDialog {
  std::string_view caption;
  int width, height;
  std::string_view font;
  int fontPoints;
  std::span<const DialogText> texts;
};

class IPropertyPage : public IUnknown {
public:
  virtual HResult GetDialog(const PropertyPageDialog **dialog) = 0;

protected:
  ~IPropertyPage() = default;
};

// Interface identifiers.
inline constexpr Guid kIidUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid kIidDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid kIidClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid kIidOleObject{0x00000112, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
inline constexpr Guid kIidConnectionPoint{
    0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid kIidConnectionPointContainer{
    0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid kIidSpecifyPropertyPages{
    0xB196B28B, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid kIidPropertyPage{
    0xB196B28D, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
inline constexpr Guid kIidPersistState{
    0x7FD52380, 0x4E07, 0x101B, {0xAE, 0x2D, 0x08, 0x00, 0x2B, 0x2E, 0xC7, 0x13}};

// The four entry points of an in-process server, exported with C linkage.
using DllGetClassObjectFunction = HResult (*)(const Guid &classId, const Guid &iid, void **object);
using DllCanUnloadNowFunction = HResult (*)();
using DllRegisterServerFunction = HResult (*)();
using DllUnregisterServerFunction = HResult (*)();

// Holds one reference to an interface and gives it back when it goes.
template <class T> class ComPtr {
public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes a reference the caller already owns (as QueryInterface and CreateInstance hand out).
  static ComPtr Adopt(T *pointer) {
    ComPtr p;
    p.pointer_ = pointer;
    return p;
  }
  ComPtr(const ComPtr &other) : pointer_(other.pointer_) {
    if (pointer_ != nullptr)
      pointer_->AddRef();
  }
  ComPtr(ComPtr &&other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
  ComPtr &operator=(ComPtr other) noexcept {
    std::swap(pointer_, other.pointer_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T *p = std::exchange(pointer_, nullptr))
      p->Release();
  }
  T *Get() const { return pointer_; }
  T *operator->() const { return pointer_; }
  T &operator*() const { return *pointer_; }
  explicit operator bool() const { return pointer_ != nullptr; }
  // For out parameters: drops what was held and lets a callee fill it in.
  T **Receive() {
    Reset();
    return &pointer_;
  }
  void **ReceiveVoid() { return reinterpret_cast<void **>(Receive()); }

private:
  T *pointer_ = nullptr;
};

// Creates a new T (born with one reference), hands out the interface asked for and lets go of
// the creator's reference: the object then lives exactly as long as the caller holds it.
template <class T> HResult CreateInstance(const Guid &iid, void **object) {
  if (object == nullptr)
    return kPointer;
  T *instance = new (std::nothrow) T();
  if (instance == nullptr)
    return kOutOfMemory;
  const HResult result = instance->QueryInterface(iid, object);
  instance->Release();
  return result;
}

// Asks `object` for interface I.

template <class I> ComPtr<I> QueryInterfaceAs(IUnknown *object, const Guid &iid) {
  ComPtr<I> result;
  if (object == nullptr || Failed(object->QueryInterface(iid, result.ReceiveVoid())))
    return {};
  return result;
}

// A thread-safe reference count for the objects of a server; `alive` counts the objects
// alive in the whole library, which decides whether it may be unloaded.
class RefCount {
public:
  explicit RefCount(std::atomic<long> &alive) : alive_(alive) { ++alive_; }
  ~RefCount() { --alive_; }
  RefCount(const RefCount &) = delete;
  RefCount &operator=(const RefCount &) = delete;

  std::uint32_t Increment() { return ++count_; }
  std::uint32_t Decrement() { return --count_; }

private:
  std::atomic<std::uint32_t> count_{1};
  std::atomic<long> &alive_;
};

} // namespace platform
