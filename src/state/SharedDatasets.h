#pragma once

#include <map>
#include <memory>
#include <typeindex>

// The datasets that several tabs and commands share for the whole run (the report rows of the
// selection, the instrument code list, the override list). The application state keeps them
// without knowing their types: each is created on first use by the service that owns its type,
// and all of them end together, before the connection they run on.
class SharedDatasets {
public:
    // The dataset of type T, made by make() (returning std::unique_ptr<T>) on first use.
    template <class T, class Make>
    T& get(Make&& make)
    {
        std::shared_ptr<void>& slot = slots_[std::type_index(typeid(T))];
        if (!slot)
            slot = std::shared_ptr<T>(make());
        return *static_cast<T*>(slot.get());
    }

    // The dataset of type T when it was made, else nullptr.
    template <class T>
    T* find() const
    {
        const auto it = slots_.find(std::type_index(typeid(T)));
        return it == slots_.end() ? nullptr : static_cast<T*>(it->second.get());
    }

private:
    std::map<std::type_index, std::shared_ptr<void>> slots_;
};
