#include "script/parser.h"

#include <optional>
#include <utility>

#include "script/ascii.h"
#include "script/conversions.h"
#include "script/errors.h"
#include "script/lexer.h"
#include "script/limits.h"
#include "script/scope.h"

namespace ondrix::script {
namespace {

// The binary operators' precedence levels, loosest first.
enum OperatorLevel : int {
    kImpLevel,
    kEqvLevel,
    kXorLevel,
    kOrLevel,
    kAndLevel,
    kCompareLevel,
    kConcatLevel,
    kAddLevel,
    kModLevel,
    kIntDivLevel,
    kMulLevel,
    kPowerLevel,
};

struct OperatorSpelling {
    int level;
    Tok token;
    Kw keyword;  // for the operators spelled as words
    BinaryOp op;
};

constexpr OperatorSpelling kBinaryOperators[] = {
    {kImpLevel, Tok::kKeyword, Kw::kImp, BinaryOp::kImp},
    {kEqvLevel, Tok::kKeyword, Kw::kEqv, BinaryOp::kEqv},
    {kXorLevel, Tok::kKeyword, Kw::kXor, BinaryOp::kXor},
    {kOrLevel, Tok::kKeyword, Kw::kOr, BinaryOp::kOr},
    {kAndLevel, Tok::kKeyword, Kw::kAnd, BinaryOp::kAnd},
    {kCompareLevel, Tok::kEq, Kw::kNone, BinaryOp::kEq},
    {kCompareLevel, Tok::kNe, Kw::kNone, BinaryOp::kNe},
    {kCompareLevel, Tok::kLt, Kw::kNone, BinaryOp::kLt},
    {kCompareLevel, Tok::kGt, Kw::kNone, BinaryOp::kGt},
    {kCompareLevel, Tok::kLe, Kw::kNone, BinaryOp::kLe},
    {kCompareLevel, Tok::kGe, Kw::kNone, BinaryOp::kGe},
    {kConcatLevel, Tok::kAmp, Kw::kNone, BinaryOp::kConcat},
    {kAddLevel, Tok::kPlus, Kw::kNone, BinaryOp::kAdd},
    {kAddLevel, Tok::kMinus, Kw::kNone, BinaryOp::kSub},
    {kModLevel, Tok::kKeyword, Kw::kMod, BinaryOp::kMod},
    {kIntDivLevel, Tok::kBackslash, Kw::kNone, BinaryOp::kIntDiv},
    {kMulLevel, Tok::kStar, Kw::kNone, BinaryOp::kMul},
    {kMulLevel, Tok::kSlash, Kw::kNone, BinaryOp::kDiv},
    {kPowerLevel, Tok::kCaret, Kw::kNone, BinaryOp::kPow},
};

class Parser {
  public:
    Parser(std::string_view source, SymbolTable& symbols)
        : source_(source), symbols_(symbols), tokens_(Tokenize(source)) {}

    ParsedExpression ParseWholeExpression() {
        ParsedExpression result;
        Scope scope(symbols_, result.bindings, nullptr);
        scope_ = &scope;
        SkipNewlines();
        if (Peek().kind != Tok::kEnd) {
            result.root = ParseExpr();
            SkipNewlines();
            if (Peek().kind != Tok::kEnd) Raise(kExpectedEndOfStatement);
        }
        return result;
    }

    ParsedProgram ParseWholeProgram() {
        ParsedProgram program;
        Scope scope(symbols_, program.bindings, nullptr);
        scope_ = &scope;
        for (;;) {
            SkipSeparators();
            if (Peek().kind == Tok::kEnd) break;
            if (StartsDefinition())
                program.procedures.push_back(ParseDefinition());
            else
                program.statements.push_back(ParseStatement());
            ExpectStatementEnd();
        }
        return program;
    }

  private:
    // --- tokens ---
    const Token& Peek(std::size_t ahead = 0) const {
        std::size_t i = pos_ + ahead;
        return i < tokens_.size() ? tokens_[i] : tokens_.back();
    }
    const Token& Next() {
        const Token& t = tokens_[pos_];
        if (pos_ + 1 < tokens_.size()) ++pos_;
        return t;
    }
    bool At(Tok kind) const { return Peek().kind == kind; }
    bool At(Kw k, std::size_t ahead = 0) const {
        return Peek(ahead).kind == Tok::kKeyword && Peek(ahead).keyword == k;
    }
    // Takes the next token when it is the given Tok or Kw.
    bool Accept(auto kind) {
        if (!At(kind)) return false;
        Next();
        return true;
    }
    void Expect(auto kind, int error) {
        if (!Accept(kind)) Raise(error);
    }
    std::string_view Text(const Token& t) const { return source_.substr(t.offset, t.length); }
    std::string_view ExpectName() {
        if (!At(Tok::kName)) Raise(kExpectedIdentifier);
        return Text(Next());
    }
    bool AtSeparator() const { return At(Tok::kNewline) || At(Tok::kColon); }
    bool AtStatementEnd() const { return AtSeparator() || At(Tok::kEnd); }
    void SkipSeparators() {
        while (AtSeparator()) Next();
    }
    void SkipNewlines() {
        while (At(Tok::kNewline)) Next();
    }
    void ExpectStatementEnd() {
        if (!AtStatementEnd() && !AfterSeparator()) Raise(kExpectedEndOfStatement);
    }
    // A single-line If takes the ":" that ends it, as in
    // "Function f(n): If n > 0 Then f = n: End Function".
    bool AfterSeparator() const {
        return pos_ > 0 &&
               (tokens_[pos_ - 1].kind == Tok::kColon || tokens_[pos_ - 1].kind == Tok::kNewline);
    }

    // --- nesting bound ---
    class Nest {
      public:
        explicit Nest(Parser& p) : p_(p) {
            if (++p_.depth_ > limits::kMaxParseNesting) Raise(kOutOfStackSpace);
        }
        ~Nest() { --p_.depth_; }
        Nest(const Nest&) = delete;
        Nest& operator=(const Nest&) = delete;

      private:
        Parser& p_;
    };

    // --- expressions ---
    // One left-associative level: operand { operator operand }.
    ExprPtr ParseLevel(int level) {
        if (level == kCompareLevel) return ParseComparisons();
        ExprPtr first = ParseOperand(level);
        std::vector<ChainExpr::Link> rest;
        while (auto op = OperatorAt(level)) {
            Next();
            rest.push_back({*op, ParseOperand(level), std::nullopt});
        }
        if (rest.empty()) return first;
        if (rest.size() == 1)
            return std::make_unique<BinaryExpr>(rest[0].op, std::move(first),
                                                std::move(rest[0].operand));
        return std::make_unique<ChainExpr>(std::move(first), std::move(rest));
    }

    // The operand of a level is the next tighter one, except that Not sits
    // between And and the comparisons and unary signs bind tighter than ^
    // (-2^2 is 4).
    ExprPtr ParseOperand(int level) {
        if (level == kAndLevel) return ParseNot();
        if (level == kPowerLevel) return ParseUnary();
        return ParseLevel(level + 1);
    }

    // The comparison level: each comparison learns which of its operands
    // are literals, and Not may open a right-hand operand, taking the
    // comparisons after it ("1 <> Not 0 = 0" is 1 <> Not (0 = 0)).
    ExprPtr ParseComparisons() {
        ExprPtr first = ParseOperand(kCompareLevel);
        std::vector<ChainExpr::Link> rest;
        while (auto op = OperatorAt(kCompareLevel)) {
            Next();
            ExprPtr operand = At(Kw::kNot) ? ParseNot() : ParseOperand(kCompareLevel);
            const Value* left = rest.empty() ? LiteralOf(*first) : nullptr;
            TextComparison texts = TextComparisonOf(left, LiteralOf(*operand));
            rest.push_back({*op, std::move(operand), texts});
        }
        if (rest.empty()) return first;
        return std::make_unique<ChainExpr>(std::move(first), std::move(rest));
    }

    static const Value* LiteralOf(const Expr& e) {
        const auto* literal = dynamic_cast<const LiteralExpr*>(&e);
        return literal ? &literal->value() : nullptr;
    }

    std::optional<BinaryOp> OperatorAt(int level) const {
        const Token& t = Peek();
        for (const OperatorSpelling& o : kBinaryOperators) {
            if (o.level == level && o.token == t.kind && o.keyword == t.keyword) return o.op;
        }
        return std::nullopt;
    }

    ExprPtr ParseExpr() {
        Nest nest(*this);
        return ParseLevel(kImpLevel);
    }
    ExprPtr ParseNot() {
        if (Accept(Kw::kNot)) {
            Nest nest(*this);
            return std::make_unique<UnaryExpr>(UnaryOp::kNot, ParseNot());
        }
        return ParseLevel(kCompareLevel);
    }
    ExprPtr ParseUnary() {
        if (At(Tok::kMinus) || At(Tok::kPlus)) {
            UnaryOp op = Next().kind == Tok::kMinus ? UnaryOp::kNegate : UnaryOp::kPlus;
            Nest nest(*this);
            ExprPtr operand = ParseUnary();
            if (auto* literal = dynamic_cast<LiteralExpr*>(operand.get());
                literal && !literal->value().IsString()) {
                // Fold signed number literals: "x = -16.68" costs one node. Negating
                // a number reads no text, so the default settings serve.
                return std::make_unique<LiteralExpr>(ApplyUnary(op, literal->value(), Context{}));
            }
            return std::make_unique<UnaryExpr>(op, std::move(operand));
        }
        return ParsePrimary();
    }

    ExprPtr ParsePrimary() {
        const Token& t = Next();
        switch (t.kind) {
            case Tok::kNumber:
                return std::make_unique<LiteralExpr>(t.date ? Value::Date(t.number)
                                                            : LiteralValue(t.number, t.whole));
            case Tok::kString:
                return std::make_unique<LiteralExpr>(Value::String(StringLiteral(source_, t)));
            case Tok::kLParen: {
                ExprPtr inner = ParseExpr();
                Expect(Tok::kRParen, kExpectedRightParen);
                return inner;
            }
            case Tok::kName:
                if (Accept(Tok::kLParen))
                    return ParseCallArguments(scope_->Use(Text(t)), Tok::kRParen);
                return std::make_unique<NameExpr>(scope_->Use(Text(t)));
            case Tok::kKeyword:
                switch (t.keyword) {
                    case Kw::kTrue:
                    case Kw::kFalse:
                        return std::make_unique<LiteralExpr>(
                            Value::Boolean(t.keyword == Kw::kTrue));
                    case Kw::kEmpty:
                        return std::make_unique<LiteralExpr>(Value());
                    case Kw::kNull:
                        return std::make_unique<LiteralExpr>(Value::Null());
                    default:
                        Raise(kSyntaxError);
                }
            default:
                Raise(kSyntaxError);
        }
    }

    // Arguments up to `close` (")" or the end of the statement); the opening
    // parenthesis, if any, is already taken.
    ExprPtr ParseCallArguments(const NameBinding* callee, Tok close, bool allowByRef = true) {
        Nest nest(*this);
        std::vector<ExprPtr> args;
        std::vector<const NameBinding*> byRef;
        bool closed = close == Tok::kRParen ? At(Tok::kRParen) : AtSimpleStatementEnd();
        if (!closed) {
            do {
                std::size_t start = pos_;
                ExprPtr arg = ParseExpr();
                auto* name = dynamic_cast<NameExpr*>(arg.get());
                byRef.push_back(allowByRef && name && pos_ == start + 1 ? name->binding()
                                                                        : nullptr);
                args.push_back(std::move(arg));
            } while (Accept(Tok::kComma));
        }
        if (close == Tok::kRParen) Expect(Tok::kRParen, kExpectedRightParen);
        return std::make_unique<CallExpr>(callee, std::move(args), std::move(byRef));
    }

    // --- statements ---
    // Where a statement ends; in a single-line If also at its Else or End If.
    bool AtSimpleStatementEnd() const { return AtStatementEnd() || At(Kw::kElse) || At(Kw::kEnd); }

    StmtPtr ParseStatement() {
        Nest nest(*this);
        if (At(Tok::kName)) return ParseNameStatement();
        if (!At(Tok::kKeyword)) Raise(kExpectedStatement);
        switch (Next().keyword) {
            case Kw::kPublic:
            case Kw::kPrivate:
                if (!scope_->IsGlobal()) Raise(kSyntaxError);
                [[fallthrough]];
            case Kw::kDim:
                return ParseDim();
            case Kw::kConst:
                return ParseConst();
            case Kw::kCall: {
                const NameBinding* callee = scope_->Use(ExpectName());
                if (Accept(Tok::kLParen))
                    return std::make_unique<CallStmt>(ParseCallArguments(callee, Tok::kRParen));
                return std::make_unique<CallStmt>(std::make_unique<CallExpr>(callee));
            }
            case Kw::kIf:
                return ParseIf();
            case Kw::kExit: {
                const Procedure* p = scope_->procedure();
                bool function = Accept(Kw::kFunction);
                if ((!function && !Accept(Kw::kSub)) || !p || p->isFunction != function)
                    Raise(kInvalidExit);
                return std::make_unique<ExitStmt>();
            }
            default:
                Raise(kSyntaxError);
        }
    }

    StmtPtr ParseDim() {
        std::vector<const NameBinding*> names;
        do {
            names.push_back(scope_->Declare(ExpectName()));
        } while (Accept(Tok::kComma));
        return std::make_unique<DimStmt>(std::move(names));
    }

    // Const a = 1, b = 2: declared and assigned at once.
    StmtPtr ParseConst() {
        Block parts;
        do {
            std::string_view name = ExpectName();
            scope_->Declare(name);
            const NameBinding* target = scope_->Assign(name);
            Expect(Tok::kEq, kExpectedEquals);
            parts.push_back(std::make_unique<AssignStmt>(target, ParseExpr()));
        } while (Accept(Tok::kComma));
        if (parts.size() == 1) return std::move(parts.front());
        return std::make_unique<SequenceStmt>(std::move(parts));
    }

    StmtPtr ParseNameStatement() {
        std::string_view name = Text(Next());
        if (Accept(Tok::kEq)) {
            const NameBinding* target = scope_->Assign(name);
            return std::make_unique<AssignStmt>(target, ParseExpr());
        }
        if (EqualsIgnoringCase(name, "randomize")) {
            ExprPtr seed;
            if (!AtSimpleStatementEnd()) seed = ParseExpr();
            return std::make_unique<RandomizeStmt>(std::move(seed));
        }
        const NameBinding* callee = scope_->Use(name);
        if (At(Tok::kLParen)) {
            // name(args) alone on its statement: one argument passed by value
            // (the parentheses make it an expression), or none; more need
            // Call. Otherwise the parenthesis opens the first argument:
            // name (a) + 1, b
            std::size_t mark = pos_;
            Next();
            ExprPtr call = ParseCallArguments(callee, Tok::kRParen, false);
            if (AtSimpleStatementEnd()) {
                if (!CommasNested(mark)) Raise(kCannotUseParentheses);
                return std::make_unique<CallStmt>(std::move(call));
            }
            pos_ = mark;
        }
        return std::make_unique<CallStmt>(ParseCallArguments(callee, Tok::kEnd));
    }

    // Whether every comma after the "(" at `mark` sits inside deeper
    // parentheses, i.e. the statement call has a single argument.
    bool CommasNested(std::size_t mark) const {
        int level = 0;
        for (std::size_t i = mark; i < pos_; ++i) {
            Tok k = tokens_[i].kind;
            if (k == Tok::kLParen)
                ++level;
            else if (k == Tok::kRParen)
                --level;
            else if (k == Tok::kComma && level == 1)
                return false;
        }
        return true;
    }

    StmtPtr ParseIf() {
        std::vector<IfStmt::Branch> branches;
        Block otherwise;
        do {
            ExprPtr condition = ParseExpr();
            Expect(Kw::kThen, kExpectedThen);
            if (branches.empty() && !At(Tok::kNewline) && !At(Tok::kEnd)) {
                // Single-line form: If c Then a : b Else d : e [End If]
                branches.push_back({std::move(condition), ParseLineStatements()});
                if (Accept(Kw::kElse)) otherwise = ParseLineStatements();
                if (At(Kw::kEnd) && At(Kw::kIf, 1)) pos_ += 2;
                return std::make_unique<IfStmt>(std::move(branches), std::move(otherwise));
            }
            branches.push_back({std::move(condition), ParseBlock()});
        } while (Accept(Kw::kElseIf));
        if (Accept(Kw::kElse)) otherwise = ParseBlock();
        Expect(Kw::kEnd, kExpectedEnd);
        Expect(Kw::kIf, kExpectedIf);
        return std::make_unique<IfStmt>(std::move(branches), std::move(otherwise));
    }

    // Statements of a single-line If, up to its Else, End If or line end.
    Block ParseLineStatements() {
        Block block;
        for (;;) {
            while (Accept(Tok::kColon)) {
            }
            if (AtSimpleStatementEnd()) return block;
            block.push_back(ParseStatement());
            if (!AtSimpleStatementEnd()) Raise(kExpectedEndOfStatement);
        }
    }

    // Statements up to End, Else or ElseIf (left for the caller).
    Block ParseBlock() {
        Nest nest(*this);
        Block block;
        for (;;) {
            SkipSeparators();
            if (At(Tok::kEnd)) Raise(kExpectedEnd);
            if (At(Kw::kEnd) || At(Kw::kElse) || At(Kw::kElseIf)) return block;
            if (StartsDefinition()) Raise(kSyntaxError);
            block.push_back(ParseStatement());
            ExpectStatementEnd();
        }
    }

    // --- Function and Sub ---
    bool StartsDefinition() const {
        std::size_t i = (At(Kw::kPublic) || At(Kw::kPrivate)) ? 1 : 0;
        return At(Kw::kFunction, i) || At(Kw::kSub, i);
    }

    std::shared_ptr<Procedure> ParseDefinition() {
        if (!scope_->IsGlobal()) Raise(kSyntaxError);
        if (!Accept(Kw::kPublic)) Accept(Kw::kPrivate);
        auto proc = std::make_shared<Procedure>();
        proc->isFunction = Accept(Kw::kFunction);
        if (!proc->isFunction) Expect(Kw::kSub, kSyntaxError);
        std::string_view name = ExpectName();
        proc->name = std::string(name);
        proc->symbol = symbols_.Intern(name);

        Scope* outer = scope_;
        Scope scope(symbols_, proc->bindings, proc.get());
        scope_ = &scope;
        if (Accept(Tok::kLParen) && !Accept(Tok::kRParen)) {
            do {
                bool byRef = Accept(Kw::kByRef) || !Accept(Kw::kByVal);  // ByRef by default
                const NameBinding* p = scope.Declare(ExpectName());
                if (p->slot != proc->byRef.size() + 1) Raise(kNameRedefined);
                proc->byRef.push_back(byRef);
            } while (Accept(Tok::kComma));
            Expect(Tok::kRParen, kExpectedRightParen);
        }
        ExpectStatementEnd();
        proc->body = ParseBlock();
        Expect(Kw::kEnd, kExpectedEnd);
        Expect(proc->isFunction ? Kw::kFunction : Kw::kSub,
               proc->isFunction ? kExpectedFunction : kExpectedSub);
        proc->slotCount = scope.Finish();
        scope_ = outer;
        return proc;
    }

    std::string_view source_;
    SymbolTable& symbols_;
    std::vector<Token> tokens_;
    std::size_t pos_ = 0;
    int depth_ = 0;
    Scope* scope_ = nullptr;
};

}  // namespace

ParsedExpression ParseExpressionText(std::string_view source, SymbolTable& symbols) {
    return Parser(source, symbols).ParseWholeExpression();
}

ParsedProgram ParseProgramText(std::string_view source, SymbolTable& symbols) {
    return Parser(source, symbols).ParseWholeProgram();
}

}  // namespace ondrix::script
