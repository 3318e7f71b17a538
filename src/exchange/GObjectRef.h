#pragma once

#include <glib-object.h>

// Unreferences a GObject (of libgsf) when it goes out of scope.
template <typename T>
class GObjectRef {
public:
    explicit GObjectRef(T* object) : object_(object) {}
    ~GObjectRef()
    {
        if (object_)
            g_object_unref(object_);
    }
    GObjectRef(const GObjectRef&) = delete;
    GObjectRef& operator=(const GObjectRef&) = delete;
    T* get() const { return object_; }

private:
    T* object_;
};
