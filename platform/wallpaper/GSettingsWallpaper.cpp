// Wallpaper through GSettings: GNOME, Cinnamon, MATE.
#include "platform/wallpaper/GSettingsWallpaper.h"

#include <QFile>
#include <QList>

#include <gio/gio.h>

#include <memory>

namespace tavorin {

namespace {

struct KeyValue {
    const char* key;
    QByteArray value;
    bool optional; // written only when the installed schema has it
};

struct FamilyLayout {
    const char* schema;
    QList<KeyValue> keys;
};

QByteArray FileUri(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    gchar* uri = g_filename_to_uri(name.constData(), nullptr, nullptr);
    const QByteArray result(uri ? uri : "");
    g_free(uri);
    return result;
}

FamilyLayout LayoutFor(GSettingsFamily family, const QString& path) {
    const QByteArray stretched("stretched");
    switch (family) {
    case GSettingsFamily::Gnome:
        return {"org.gnome.desktop.background",
                {{"picture-uri", FileUri(path), false},
                 {"picture-uri-dark", FileUri(path), true},
                 {"picture-options", stretched, false}}};
    case GSettingsFamily::Cinnamon:
        return {"org.cinnamon.desktop.background",
                {{"picture-uri", FileUri(path), false}, {"picture-options", stretched, false}}};
    case GSettingsFamily::Mate:
        break;
    }
    return {"org.mate.background",
            {{"picture-filename", path.toUtf8(), false}, {"picture-options", stretched, false}}};
}

struct SchemaUnref {
    void operator()(GSettingsSchema* schema) const { g_settings_schema_unref(schema); }
};
struct SchemaKeyUnref {
    void operator()(GSettingsSchemaKey* key) const { g_settings_schema_key_unref(key); }
};
struct ObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
using SchemaPtr = std::unique_ptr<GSettingsSchema, SchemaUnref>;
using SchemaKeyPtr = std::unique_ptr<GSettingsSchemaKey, SchemaKeyUnref>;
using SettingsPtr = std::unique_ptr<GSettings, ObjectUnref>;

// GSettings aborts the program on an unknown schema or key, so both are
// looked up first.
SchemaPtr LookUpSchema(const char* id, const QString& folder) {
    if (folder.isEmpty()) {
        GSettingsSchemaSource* source = g_settings_schema_source_get_default();
        return SchemaPtr(source ? g_settings_schema_source_lookup(source, id, TRUE) : nullptr);
    }
    GSettingsSchemaSource* source = g_settings_schema_source_new_from_directory(
        QFile::encodeName(folder).constData(), nullptr, FALSE, nullptr);
    if (!source)
        return nullptr;
    SchemaPtr schema(g_settings_schema_source_lookup(source, id, FALSE));
    g_settings_schema_source_unref(source);
    return schema;
}

// A string key the value may be written to (its type and its range).
bool CheckKey(GSettingsSchema* schema, const KeyValue& entry, QString* error) {
    const QString key = QString::fromLatin1(entry.key);
    SchemaKeyPtr schemaKey(g_settings_schema_get_key(schema, entry.key));
    if (!g_variant_type_equal(g_settings_schema_key_get_value_type(schemaKey.get()),
                              G_VARIANT_TYPE_STRING))
        return Fail(error, QStringLiteral("the setting %1 is not a text").arg(key));
    GVariant* value = g_variant_ref_sink(g_variant_new_string(entry.value.constData()));
    const bool inRange = g_settings_schema_key_range_check(schemaKey.get(), value);
    g_variant_unref(value);
    if (!inRange)
        return Fail(error, QStringLiteral("the setting %1 does not take %2")
                               .arg(key, QString::fromUtf8(entry.value)));
    return true;
}

QByteArray ReadString(GSettings* settings, const char* key) {
    gchar* value = g_settings_get_string(settings, key);
    const QByteArray result(value ? value : "");
    g_free(value);
    return result;
}

} // namespace

QString GSettingsWallpaper::Name() const {
    return GSettingsFamilyName(family_);
}

bool GSettingsWallpaper::Apply(const QString& path, QString* error) {
    FamilyLayout layout = LayoutFor(family_, path);
    const QString schemaId = QString::fromLatin1(layout.schema);
    SchemaPtr schema = LookUpSchema(layout.schema, schemaFolder_);
    if (!schema)
        return Fail(error, QStringLiteral("the settings schema %1 is not installed").arg(schemaId));

    QList<KeyValue> keys;
    for (const KeyValue& entry : layout.keys) {
        if (!g_settings_schema_has_key(schema.get(), entry.key)) {
            if (entry.optional)
                continue;
            return Fail(error, QStringLiteral("the settings schema %1 has no key %2")
                                   .arg(schemaId, QString::fromLatin1(entry.key)));
        }
        if (entry.value.isEmpty())
            return Fail(error, QStringLiteral("no file address for %1").arg(path));
        if (!CheckKey(schema.get(), entry, error))
            return false;
        keys.append(entry);
    }

    SettingsPtr settings(g_settings_new_full(schema.get(), nullptr, nullptr));
    for (const KeyValue& entry : keys) {
        if (!g_settings_set_string(settings.get(), entry.key, entry.value.constData()))
            return Fail(error, QStringLiteral("the setting %1 of %2 cannot be changed")
                                   .arg(QString::fromLatin1(entry.key), schemaId));
    }
    g_settings_sync();
    for (const KeyValue& entry : keys) {
        if (ReadString(settings.get(), entry.key) != entry.value)
            return Fail(error, QStringLiteral("the setting %1 of %2 did not take the new value")
                                   .arg(QString::fromLatin1(entry.key), schemaId));
    }
    return true;
}

} // namespace tavorin
