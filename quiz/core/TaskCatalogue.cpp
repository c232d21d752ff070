#include "quiz/core/TaskCatalogue.h"

#include <stdexcept>

TReferenceFormulas ReferenceFormulas;

void FillReferenceFormulas() {
    ReferenceFormulas = {
        "sin(y-z)",
        "cos(3*y-5)",
        "tan(z^2+3)",
        "y^2+log(z^2+4)",
        "3*z+exp(y+5)",
        "3*atn(z^2-3*y)+sin(y)",
        "abs(sin(y^2-4*z)-3*exp(y-2))",
        "tan(log(25-2*z)+(y^3-5)^(1/2))",
        "(sin(y-3*z)^2+exp(y)-3)^(1/2)",
        "tan(3*z-5*y)-3*cos(10-2*y)*atn(20-y)",
        "log(z^2-10)*sin(5*y-4)+5*exp(z-y)",
        "abs(z^2-13*y)+(y+3*z^4)^(1/2)*cos(10-3*y^2)",
        "exp(sin(y^2-10))+log(cos(z^3-3*y)^2)",
        "abs(tan(3*y^5+5))-atn((y^3+z^2)^(1/2))",
        "(y^(sin(10-3*y^2)))^(1/2)+exp(tan(8*z^2-y^5+10))",
        "sin(y^(tan(z^2-5*y)))/log(z^exp(1/y))",
        "(atn(log(y^4-3*z))+5.1)*exp(y*z)",
        "1.5*tan(z^2+y^(z-6.2))/exp(log(z^5-5))",
        "sin(cos(exp(y))^3+5*z^((y)^(1/2)))^2+50.05",
        "abs(tan(3.03*y-sin(exp(z))^3+(z^6-2^y)^(1/2)))",
        "atn(0.13*z-tan(z^exp(1))^2+sin(z^2-y)^cos(y))^4",
        "atn(log(3^exp(1))*(sin(3*z^2+y-10))/(cos(3*y-z)^2))-(z*y)^z",
        "4.36*log(abs(sin(z^2-y)*cos(8.3*y-5)^2)+z^(y+4))*tan(z^2-1.05^y)",
        "exp(sin(y^2-3*z)*cos(10-8.3*z)^2+3*tan(10.1+y^3))+5*z",
        "exp(abs(tan(5*z+cos(sin(z+5)+3*atn(z^2))^2)))",
        "sin(z^2+8.3*y)^cos(5*z^3-tan(10-abs(z-y^4)))",
        "(4.5*tan(z^2-3*y-10)^exp(y-z))/(sin(abs(z-y^10+5))^cos(3*z^2-y^5))",
        "(abs(tan(3*sin(3*y-z)^2+exp(z^(-2)))^exp((y^0.5-3)^2)))^(1/2)/"
        "(7.03*sin((y-z)^3-(y+z)^2))-5.63",
        "log((4.34*y+5*sin(cos(y^2-z^3)^2))^4)/(8.004*atn(5*sin(y^3-z^3+4^y)))",
        "(5*sin(cos(tan(log(y^2+z^4+10))^4)^3)^2)/"
        "abs(tan(sin(y^2+cos(z+4^(exp(-y+4)))))^2)",
    };
}

bool IsValidTask(int task, int variant) {
    return task >= 1 && task <= kTaskCount && variant >= 1 && variant <= kVariantCount;
}

const std::string& ReferenceFormula(int task, int variant) {
    if (!IsValidTask(task, variant))
        throw std::out_of_range("no reference formula for this task and variant");
    return ReferenceFormulas[(task - 1) * kVariantCount + (variant - 1)];
}

std::string PictureName(int task, int variant) {
    return "p" + std::to_string(task) + std::to_string(variant);
}
