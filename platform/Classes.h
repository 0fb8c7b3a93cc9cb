#pragma once
// Object model of the class library: objects, components with owners, events.
#include <functional>
#include <string>
#include <vector>

namespace platform {

class TObject {
public:
    virtual ~TObject() = default;
    // The class's own name without its namespace ("TBitmap").
    std::string ClassName() const;
    // Run by Construct<T>() and Application->CreateForm once the most derived
    // constructor has finished (forms raise OnCreate here, threads may start).
    virtual void AfterConstruction() {}
    // Run by Free() and by an owner before deleting, while the object is whole
    // (forms raise OnDestroy here).
    virtual void BeforeDestruction() {}
    void Free() { BeforeDestruction(); delete this; }
};

// Events are methods of objects: the sender comes first.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TFiler;
class TPropertyList;

class TPersistent : public TObject {
public:
    // Copies what the two types share; the base raises EConvertError.
    virtual void Assign(const TPersistent& source);
    // Component streaming (Streaming.h): the published properties in declaration
    // order, and data of the class's own beyond them. Overrides call the base first.
    virtual void GetPublished(TPropertyList&) {}
    virtual void DefineProperties(TFiler*) {}
};

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner = nullptr);
    ~TComponent() override;  // frees owned components, last first
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;

    TComponent* Owner() const { return owner_; }
    int ComponentCount() const { return int(components_.size()); }
    TComponent* Components(int i) const { return components_[std::size_t(i)]; }
    void InsertComponent(TComponent* c);
    void RemoveComponent(TComponent* c);
    TComponent* FindComponent(const std::string& name) const;

    const std::string& Name() const { return name_; }
    virtual void SetName(const std::string& n) { name_ = n; }
    long Tag = 0;

    bool Destroying() const { return destroying_; }
    // csLoading while a stream is read into the component, until just before Loaded.
    enum TComponentStateFlag : unsigned { csLoading = 1, csReading = 2, csWriting = 4 };
    unsigned ComponentState() const { return state_; }
    void SetComponentState(unsigned s) { state_ = s; }
    // The components streamed after this one's properties (none by default).
    virtual void GetChildren(const std::function<void(TComponent*)>& Proc, TComponent* Root)
    {
        (void)Proc;
        (void)Root;
    }
    // Loaded is called once the component's properties are set up.
    virtual void Loaded() {}
    // A component arrived in or left the owner, or one this asked about is going away.
    // The base passes it on to every owned component; overrides call it too.
    enum TOperation { opInsert, opRemove };
    virtual void Notification(TComponent* AComponent, TOperation Operation);
    // Components that want Notification from a component not owned by their owner.
    void FreeNotification(TComponent* c);
    void RemoveFreeNotification(TComponent* c);
    void BeforeDestruction() override;

private:
    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    bool destroying_ = false;
    unsigned state_ = 0;
};

// new T(args...) followed by AfterConstruction.
template <class T, class... A>
T* Construct(A&&... args)
{
    T* p = new T(std::forward<A>(args)...);
    p->AfterConstruction();
    return p;
}

}  // namespace platform
