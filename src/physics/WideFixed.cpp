#include "physics/WideFixed.h"

#include <cmath>

namespace {

int leadingZeros(std::uint32_t value) {
    int count = 0;
    for (std::uint32_t probe = 0x80000000u; probe != 0 && (value & probe) == 0; probe >>= 1) ++count;
    return count;
}

}  // namespace

WideFixed::WideFixed(int fractionLimbs) : fraction(fractionLimbs), digits{} {
    if (fraction < 1) fraction = 1;
    if (fraction > kMaxFractionLimbs) fraction = kMaxFractionLimbs;
}

WideFixed WideFixed::fromLimbs(const std::uint32_t* limbs, int count, int fractionLimbs) {
    WideFixed number(fractionLimbs);
    for (int k = 0; k < count && k <= number.fraction; ++k) number.setLimb(number.fraction - k, limbs[k]);
    return number;
}

WideFixed WideFixed::fromDouble(double value, int fractionLimbs) {
    WideFixed number(fractionLimbs);
    if (!(value > 0) || !std::isfinite(value)) return number;
    int exponent = 0;
    const double mantissa = std::frexp(value, &exponent);
    // value = whole * 2^(exponent - 53), whole below 2^53: both steps exact.
    const auto whole = static_cast<std::uint64_t>(std::ldexp(mantissa, 53));
    const int lowestBit = exponent - 53 + 32 * number.fraction;
    if (lowestBit < 0) {
        // Bits below the last unit are dropped.
        const int drop = -lowestBit;
        if (drop >= 64) return number;
        const std::uint64_t kept = whole >> drop;
        number.setLimb(0, static_cast<std::uint32_t>(kept));
        number.setLimb(1, static_cast<std::uint32_t>(kept >> 32));
        return number;
    }
    const int index = lowestBit / 32;
    const int shift = lowestBit % 32;
    const std::uint64_t low = whole & 0xffffffffu;
    const std::uint64_t high = whole >> 32;
    std::uint32_t parts[3] = {static_cast<std::uint32_t>(low), static_cast<std::uint32_t>(high), 0};
    if (shift != 0) {
        parts[0] = static_cast<std::uint32_t>(low << shift);
        parts[1] = static_cast<std::uint32_t>((low >> (32 - shift)) | (high << shift));
        parts[2] = static_cast<std::uint32_t>(high >> (32 - shift));
    }
    for (int k = 0; k < 3; ++k) {
        if (index + k <= number.fraction) number.setLimb(index + k, parts[k]);
    }
    return number;
}

bool WideFixed::isZero() const {
    for (int i = 0; i <= fraction; ++i) {
        if (limb(i) != 0) return false;
    }
    return true;
}

bool WideFixed::fractionAtLeastHalf() const { return (limb(fraction - 1) >> 31) != 0; }

WideFixed WideFixed::times(const WideFixed& other) const {
    // The whole product, then its limbs from one unit up.
    const int count = fraction + 1;
    std::array<std::uint32_t, 2 * (kMaxFractionLimbs + 1)> product{};
    for (int i = 0; i < count; ++i) {
        std::uint64_t carry = 0;
        for (int j = 0; j < count; ++j) {
            const std::uint64_t sum = std::uint64_t{limb(i)} * other.limb(j) + product[static_cast<std::size_t>(i + j)] +
                                      carry;
            product[static_cast<std::size_t>(i + j)] = static_cast<std::uint32_t>(sum);
            carry = sum >> 32;
        }
        product[static_cast<std::size_t>(i + count)] = static_cast<std::uint32_t>(carry);
    }
    WideFixed result(fraction);
    for (int i = 0; i <= fraction; ++i) result.setLimb(i, product[static_cast<std::size_t>(i + fraction)]);
    return result;
}

void WideFixed::divideBy(std::uint32_t divisor) {
    if (divisor == 0) return;
    std::uint64_t remainder = 0;
    for (int i = fraction; i >= 0; --i) {
        const std::uint64_t current = (remainder << 32) | limb(i);
        setLimb(i, static_cast<std::uint32_t>(current / divisor));
        remainder = current % divisor;
    }
}

void WideFixed::add(const WideFixed& other) {
    std::uint64_t carry = 0;
    for (int i = 0; i <= fraction; ++i) {
        const std::uint64_t sum = std::uint64_t{limb(i)} + other.limb(i) + carry;
        setLimb(i, static_cast<std::uint32_t>(sum));
        carry = sum >> 32;
    }
}

void WideFixed::subtract(const WideFixed& other) {
    std::uint64_t borrow = 0;
    for (int i = 0; i <= fraction; ++i) {
        const std::uint64_t taken = std::uint64_t{other.limb(i)} + borrow;
        borrow = limb(i) < taken ? 1 : 0;
        setLimb(i, static_cast<std::uint32_t>((std::uint64_t{limb(i)} + (borrow << 32)) - taken));
    }
}

WideFixed WideFixed::oneMinus() const {
    WideFixed one(fraction);
    one.setLimb(fraction, 1);
    one.subtract(*this);
    return one;
}

void WideFixed::addUnits(std::uint32_t units) {
    WideFixed step(fraction);
    step.setLimb(0, units);
    add(step);
}

bool WideFixed::subtractUnits(std::uint32_t units) {
    bool enough = false;
    for (int i = fraction; i >= 1 && !enough; --i) enough = limb(i) != 0;
    if (!enough && limb(0) < units) return false;
    WideFixed step(fraction);
    step.setLimb(0, units);
    subtract(step);
    return true;
}

int WideFixed::leadingBit() const {
    for (int i = fraction; i >= 0; --i) {
        if (limb(i) != 0) return 32 * i + 31 - leadingZeros(limb(i));
    }
    return -1;
}

std::uint32_t WideFixed::bits32(int low) const {
    if (low <= -32 || low >= 32 * (fraction + 1)) return 0;
    if (low < 0) return limb(0) << (-low);
    const int index = low / 32;
    const int shift = low % 32;
    std::uint32_t value = limb(index) >> shift;
    if (shift != 0 && index + 1 <= fraction) value |= limb(index + 1) << (32 - shift);
    return value;
}

bool WideFixed::anyBitBelow(int bit) const {
    if (bit <= 0) return false;
    const int whole = bit / 32;
    for (int i = 0; i < whole && i <= fraction; ++i) {
        if (limb(i) != 0) return true;
    }
    if (whole > fraction) return false;
    const std::uint32_t mask = (std::uint32_t{1} << (bit % 32)) - 1;
    return (limb(whole) & mask) != 0;
}

double WideFixed::nearestDouble() const {
    const int lead = leadingBit();
    if (lead < 0) return 0.0;
    const std::uint64_t window = bits64(lead);
    std::uint64_t mantissa = window >> 11;
    const std::uint64_t rest = window & 0x7ffu;
    const bool sticky = anyBitBelow(lead - 63);
    if (rest > 0x400u || (rest == 0x400u && (sticky || (mantissa & 1u) != 0))) ++mantissa;
    // The window's top bit weighs 2^(lead - 32 * fraction).
    return std::ldexp(static_cast<double>(mantissa), lead - 52 - 32 * fraction);
}

void WideFixed::toDoubleDouble(double& hi, double& lo) const {
    hi = 0.0;
    lo = 0.0;
    const int lead = leadingBit();
    if (lead < 0) return;
    const std::uint64_t first = bits64(lead);
    const std::uint64_t second = bits64(lead - 64);
    // hi takes the first 53 bits exactly; lo the next 75 with two roundings
    // of 2^-53 at most, so lo is off by less than 2^-104 of the number.
    const double head = std::ldexp(static_cast<double>(first >> 11), lead - 52 - 32 * fraction);
    const double tail = std::ldexp(static_cast<double>(first & 0x7ffu) * 18446744073709551616.0 +
                                       static_cast<double>(second),
                                   lead - 127 - 32 * fraction);
    hi = head + tail;
    lo = tail - (hi - head);
}
