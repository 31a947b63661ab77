#pragma once
// What the viewer documents, commanders and views may ask of the project that owns
// them, without depending on the whole project document.

#include <cstdint>
#include <string>

struct IModifiable {
    virtual void SetModifiedFlag(bool modified = true) = 0;

protected:
    ~IModifiable() = default;
};

// Looks names up in the sound-design editor's project (the editor bridge answers
// it; without one nothing is resolved). False when the editor raised an error.
struct INameResolver {
    virtual bool EventName(std::uint32_t eventId, std::string* name) = 0;
    virtual bool ResourceName(std::uint32_t resourceId, std::string* name) = 0;
    virtual bool GroupName(std::uint32_t groupNumber, std::string* name) = 0;
    // The name of a loaded event, resource, sound data or settings object.
    virtual bool AtomicObjectName(std::uint32_t objectId, std::string* name) = 0;

protected:
    ~INameResolver() = default;
};

struct IProjectDocument : IModifiable {
    // The project's setting: records take their names from the editor's project.
    virtual bool ReadsFromEditor() const = 0;
    // The open editor project's look-ups; none while no editor project is open.
    virtual INameResolver* NameResolver() = 0;

protected:
    ~IProjectDocument() = default;
};
