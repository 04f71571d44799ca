// A late-bound host calls members by any name or id with any variants: Invoke must answer every
// call with a status, never let an exception out, and never crash the panel, whatever the order.
//
// Input: the first byte picks the panel; then calls, each a flags byte, an argument count byte,
// the arguments (a type byte and its value) and a member name up to the next NUL byte. A name
// of one byte 0..23 picks a described member instead, so that real members are reached often.
#include <ZANPdfCtl4/late_binding.h>
#include <ZANPdfCtl4/zanpdfctl4.h>
#include "fuzz_support.h"
#include "test_environment.h"

#include <QWidget>

#include <memory>

using namespace zan::automation;

namespace {

class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool done() const { return at_ >= size_; }
  std::uint8_t byte() { return done() ? 0 : data_[at_++]; }
  QByteArray text() {
    QByteArray out;
    while (!done() && data_[at_] != 0) out += char(data_[at_++]);
    byte();
    return out;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

Variant argument(Reader& in, zan::MemorySetupData& rd) {
  switch (in.byte() % 7) {
    case 0:
      return Variant();
    case 1:
      return Variant(in.byte() % 2 == 1);
    case 2:
      return Variant(std::int16_t(in.byte() << 8 | in.byte()));
    case 3:
      return Variant(std::int32_t(in.byte() << 24 | in.byte() << 16 | in.byte() << 8 | in.byte()));
    case 4:
      return Variant(QString::fromUtf8(in.text()));
    case 5:
      return Variant(static_cast<QObject*>(&rd));
    default:
      return Variant(static_cast<QObject*>(nullptr));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  zan::fuzzing::ensureApplication();
  Reader in(data, size);
  zan::testing::TestWorld world;
  const zan::PanelEnvironment env = world.environment();
  void* f = nullptr;
  if (ZANDllGetClassObject(in.byte() % 2 ? "ZANPdf3" : "ZANPdf", &f) != 0) std::abort();
  auto* factory = static_cast<zan::component::ClassFactory*>(f);
  Dispatch* d = nullptr;
  if (factory->CreateInstance(nullptr, &env, &d) != 0) std::abort();
  factory->Release();
  std::unique_ptr<QWidget> panel(qobject_cast<QWidget*>(d->object()));
  zan::MemorySetupData rd;
  const auto& members = d->defaultInterface().members;
  for (int calls = 0; !in.done() && calls < 64; ++calls) {
    const std::uint16_t flags = in.byte() % 8;
    QVector<Variant> args;
    for (int n = in.byte() % 4; n > 0; --n) args << argument(in, rd);
    const QByteArray name = in.text();
    DispId id = kDispIdUnknown;
    if (name.size() == 1 && std::uint8_t(name[0]) < members.size()) {
      id = members[std::uint8_t(name[0])].id;
    } else {
      QVector<DispId> ids;
      d->GetIDsOfNames({QString::fromUtf8(name)}, ids);
      id = ids.value(0, kDispIdUnknown);
    }
    const InvokeResult r = d->Invoke(id, flags, args);
    if (!r.ok() && r.error.description.isEmpty()) std::abort();
  }
  return 0;
}
