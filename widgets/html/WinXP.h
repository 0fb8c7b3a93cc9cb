#pragma once
// Visual-styles marker: a form may hold one. The program's visual styles come from
// the platform; the marker itself only checks where it is placed.
#include "platform/Classes.h"

namespace html {

class TWinXP : public platform::TComponent {
public:
    // base::Exception "Control parent must be a form!" when the owner is not a form,
    // "Only one instance of TWinXP allowed on form" for a second one on the same form.
    // A refused marker is gone from its owner again.
    explicit TWinXP(platform::TComponent* AOwner);
};

}  // namespace html
