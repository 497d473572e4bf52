#include "MailSecrets.h"

#include <QByteArray>

// glib's headers use "signals" as a name.
#undef signals
#include <libsecret/secret.h>

namespace MailSecrets {

namespace {
const SecretSchema* Schema()
{
    static const SecretSchema schema = {"org.quorvane.MailPassword",
                                        SECRET_SCHEMA_NONE,
                                        {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                        0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
    return &schema;
}
} // namespace

bool Available()
{
    // Without a session bus the library would try to start one; asking the
    // user is better than waiting for that.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return false;
    GError* error = nullptr;
    SecretService* service = secret_service_get_sync(SECRET_SERVICE_NONE, nullptr, &error);
    if (error)
        g_error_free(error);
    if (!service)
        return false;
    g_object_unref(service);
    return true;
}

QString Lookup(const QString& server, const QString& user)
{
    if (!Available())
        return {};
    GError* error = nullptr;
    gchar* secret = secret_password_lookup_sync(Schema(), nullptr, &error, "server", server.toUtf8().constData(), "user",
                                                user.toUtf8().constData(), nullptr);
    if (error)
        g_error_free(error);
    if (!secret)
        return {};
    const QString password = QString::fromUtf8(secret);
    secret_password_free(secret);
    return password;
}

bool Store(const QString& server, const QString& user, const QString& password, QString* why)
{
    if (!Available()) {
        if (why)
            *why = QStringLiteral("There is no secret store in this session.");
        return false;
    }
    GError* error = nullptr;
    const QByteArray label = QStringLiteral("Quorvane mail password for %1 at %2").arg(user, server).toUtf8();
    const gboolean ok = secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, label.constData(),
                                                   password.toUtf8().constData(), nullptr, &error, "server",
                                                   server.toUtf8().constData(), "user", user.toUtf8().constData(), nullptr);
    if (error) {
        if (why)
            *why = QString::fromUtf8(error->message);
        g_error_free(error);
    }
    return ok;
}

bool Forget(const QString& server, const QString& user)
{
    if (!Available())
        return false;
    return secret_password_clear_sync(Schema(), nullptr, nullptr, "server", server.toUtf8().constData(), "user",
                                      user.toUtf8().constData(), nullptr);
}

} // namespace MailSecrets
