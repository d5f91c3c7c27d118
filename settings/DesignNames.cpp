#include "DesignNames.h"

namespace tonara {

const QStringList& designNames(Form form) {
    static const QStringList lists[] = {texts(form1::all), texts(form2::all), texts(form3::all),
                                        texts(form4::all), texts(form5::all), texts(form6::all),
                                        texts(form7::all), texts(form8::all), texts(form9::all),
                                        texts(frmAbout::all)};
    static_assert(std::size(lists) == size_t(Form::frmAbout) + 1);
    return lists[size_t(form)];
}

bool isDesignName(Form form, const QString& name) { return designNames(form).contains(name); }

} // namespace tonara
