#include "property_put.h"

#include <ZANPdfCtl4/late_binding.h>
#include <ZANPdfCtl4/zanpdfctl4.h>
#include "automation/type_library.h"
#include "settings/automation_error.h"

#include <QVector>
#include <QWidget>

namespace zan::host {
namespace {

using automation::Dispatch;
using automation::DispId;
using automation::MemberDesc;
using automation::VarType;

QString typeName(VarType type) {
  switch (type) {
    case VarType::Boolean:
      return QStringLiteral("a Boolean (True or False)");
    case VarType::Integer:
      return QStringLiteral("a 16-bit integer");
    case VarType::Long:
      return QStringLiteral("a 32-bit integer");
    case VarType::String:
      return QStringLiteral("a text");
    default:
      return QStringLiteral("a value of this property's type");
  }
}

// The description's members with dispatch id `id` (a property has a get and a put).
QVector<const MemberDesc*> membersWithId(const Dispatch& surface, DispId id) {
  QVector<const MemberDesc*> found;
  for (const MemberDesc& m : surface.defaultInterface().members)
    if (m.id == id) found << &m;
  return found;
}

// The default interface's members of the panel class `className`; none for another name.
QVector<MemberDesc> membersOf(const QString& className) {
  const auto& library = automation::zanPdfCtl4Library();
  const automation::TypeDesc* coClass = library.find(className);
  const automation::TypeDesc* surface = coClass ? library.find(coClass->defaultInterface) : nullptr;
  return surface ? surface->members : QVector<MemberDesc>();
}

}  // namespace

QStringList puttableProperties(const QString& className) {
  QStringList names;
  for (const MemberDesc& m : membersOf(className))
    if (m.kind == automation::PropertyPut) names << m.name;
  return names;
}

bool hasMember(const QString& className, const QString& name) {
  for (const MemberDesc& m : membersOf(className))
    if (m.name.compare(name, Qt::CaseInsensitive) == 0) return true;
  return false;
}

QString putProperty(QWidget& panel, const QString& name, const QString& text) {
  Dispatch* surface = component::dispatchOf(&panel);
  if (!surface) return QStringLiteral("%1 is not a settings panel").arg(panel.objectName());
  const QString className = surface->coClass().name;

  QVector<DispId> ids;
  if (surface->GetIDsOfNames({name}, ids) != automation::status::kOk ||
      ids.value(0, automation::kDispIdUnknown) == automation::kDispIdUnknown)
    return QStringLiteral("%1 has no property %2").arg(className, name);

  const QVector<const MemberDesc*> members = membersWithId(*surface, ids[0]);
  const MemberDesc* put = nullptr;
  for (const MemberDesc* m : members)
    if (m->kind == automation::PropertyPut) put = m;
  if (!put) {
    const QString shown = members.isEmpty() ? name : members.first()->name;
    const bool readable = !members.isEmpty() && members.first()->kind == automation::PropertyGet;
    return readable ? QStringLiteral("%1.%2 is read-only").arg(className, shown)
                    : QStringLiteral("%1.%2 is no property").arg(className, shown);
  }

  QVector<automation::Variant> args{automation::Variant(text)};
  const automation::InvokeResult result = surface->Invoke(ids[0], automation::PropertyPut, args);
  switch (result.status) {
    case automation::status::kOk:
      return {};
    case automation::status::kTypeMismatch:
    case automation::status::kOverflow:
      return QStringLiteral("%1=%2: not %3")
          .arg(put->name, text,
               typeName(put->params.isEmpty() ? VarType::Empty : put->params.first().type));
    case automation::status::kException:
      raiseError(result.error);
    default:
      raiseError(result.status, className,
                 QStringLiteral("The property put of %1 failed.").arg(put->name));
  }
}

}  // namespace zan::host
