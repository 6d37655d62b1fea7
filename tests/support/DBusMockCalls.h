#pragma once

#include <QDBusArgument>
#include <QDBusMessage>
#include <QList>
#include <QVariantList>

namespace corvane::testing {

// The calls a python-dbusmock object reports from GetMethodCalls, a(tav): each call's
// arguments, oldest first; none when the reply is an error.
inline QList<QVariantList> recordedCalls(const QDBusMessage& reply) {
    QList<QVariantList> calls;
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return calls;
    const QDBusArgument list = reply.arguments().front().value<QDBusArgument>();
    list.beginArray();
    while (!list.atEnd()) {
        qulonglong time = 0;
        QVariantList arguments;
        list.beginStructure();
        list >> time >> arguments;
        list.endStructure();
        calls.push_back(arguments);
    }
    list.endArray();
    return calls;
}

}  // namespace corvane::testing
