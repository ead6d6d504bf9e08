// The consumer-credit operations: credit purchase receipts on the fiscal
// printer or on a non-fiscal receipt printer, balance and statement reports,
// consumer debit receipts and credit cancellation. Same conventions as
// zel/operations.h: each is a function in namespace Zel00101 and, unless its
// comment says "unit-qualified only", a C symbol of the same plain name.
//
// Texts are Windows-1252 bytes; datasets are the caller's, read (and, where
// a comment says so, filtered or moved) only during the call. Bad input (a
// missing dataset field, a value that does not convert, a number of copies
// that is no number, an unknown printer model, a port name that is no
// serial port) raises zel::Error before anything is printed.
// Threading: one host thread calls the driver at a time.
#ifndef ZEL_CREDIT_OPERATIONS_H_
#define ZEL_CREDIT_OPERATIONS_H_

#include <cstdint>
#include <string>

#include "zel/export.h"
#include "zel/variant.h"

namespace zel {
class Dataset;
}  // namespace zel

namespace Zel00101 {

// --- Credit purchase receipts ---------------------------------------------------
// `Pagamentos`: one row per payment of the deposit, VRMOVIVEND (amount) and,
// for Compr_CredPessoal, NMTIPORECE (payment-type name); the deposit is their
// sum.

// The deposit receipt on the fiscal printer: a linked receipt of two copies,
// then one non-fiscal receipt per payment on totalizer `IdTotCompra`. True
// when the linked receipt opened and every payment was registered; false
// with no payment rows. Only the named arguments are used.
ZEL_EXPORT bool Compr_CredPessoal(
    const std::string& Reservado1, const std::string& IdTotCompra, const std::string& Reservado3,
    const std::string& Reservado4, const std::string& Reservado5, const std::string& EsquemaCor,
    std::string& Reservado7, std::string& Reservado8, zel::Dataset& Pagamentos,
    double SaldoAnterior, const std::string& NmConsumidor, const std::string& NrDeposito,
    const std::string& Reservado13, const std::string& Reservado14, const std::string& Reservado15,
    const std::string& Reservado16, const std::string& Reservado17, const std::string& Reservado18,
    const std::string& Reservado19, const std::string& Reservado20, const std::string& Reservado21,
    const std::string& Reservado22, const std::string& Reservado23, const std::string& Reservado24,
    bool Reservado25, const std::string& NmFamilia, const std::string& Reservado27);

// Unit-qualified only. The deposit receipt on the non-fiscal printer at
// `Porta` ("COMn"), `Copias` copies (decimal digits, 1 or more). True when
// every copy reached the printer; false when the port is absent or the
// printer refused (nothing printed then).
ZEL_EXPORT bool Compr_Cred_Bematech_MP100(std::string& Reservado1, zel::Dataset& Pagamentos,
                                          double SaldoAnterior, const std::string& NmConsumidor,
                                          const std::string& NrDeposito,
                                          const std::string& NmFamilia, const std::string& Copias,
                                          const std::string& Reservado8, const std::string& Porta,
                                          const std::string& Reservado10, bool Reservado11);

// Unit-qualified only. The deposit receipt on the non-fiscal printer of
// model `Modelo` (one or two digits), in layout `Layout` ("01" Brazilian
// with the shop header, "02" Spanish-language, other: generic): through the
// printer's library, `Copias` copies and then the model's cut; model "7" is
// written to the serial port directly, one copy and no cut. True when every
// copy reached the printer; false, with nothing printed, when the port is
// absent or the printer refused.
ZEL_EXPORT bool Compr_Cred_Bematech_NFISC(
    std::string& Reservado1, zel::Dataset& Pagamentos, double SaldoAnterior,
    const std::string& NmConsumidor, const std::string& NrDeposito, const std::string& NmFamilia,
    const std::string& Copias, const std::string& Layout, const std::string& Modelo,
    const std::string& Porta, const std::string& NrCupom, const std::string& Cabecalho1,
    const std::string& Cabecalho2, const std::string& Cabecalho3, const std::string& Cabecalho4,
    const std::string& InscricaoMunicipal, const std::string& NrSerie,
    const std::string& LinhaFinal, bool Reservado19);

// The line width, line end and cut command of a receipt printer model: "2"
// and "7" cut with ESC "w", "5" and "6" with ESC "m"; "7" has 40 columns,
// "2", "5" and "6" 42, all with LF; any other model 48 columns, CR LF,
// ESC "w".
ZEL_EXPORT void DefineParametrosImpressora(std::uint8_t& Largura, std::string& FimLinha,
                                           std::string& Corte, const std::string& Modelo);

// Writes `Texto` to the serial port `Porta` ("COMn") at 19200 baud, 8N1, in
// one write with one-second time-outs. Always the empty text: a port that
// cannot be opened or written is only logged. Raises zel::Error, writing
// nothing, for a name that is no serial port.
ZEL_EXPORT std::string Formata_Bematech_MP100(const std::string& Texto, const std::string& Porta);

// --- Balance and statement reports (linked receipts, 48 columns) ---------------

// Opens the report and prints its heading: `Titulo` and the cash-register
// label `Caixa` with the date and time.
ZEL_EXPORT void Cabecalho(const std::string& Reservado1, const std::string& EsquemaCor,
                          const std::string& Titulo, const std::string& Caixa,
                          const std::string& Reservado5, const std::string& Reservado6);

// The balances of one consumer's families (NMFAMILISALD, SALDOFAM) from the
// dataset's current row, and their total. Always true.
ZEL_EXPORT bool ImpSaldo(const std::string& EsquemaCor, zel::Dataset& Saldos,
                         const std::string& Cabecalho1, const std::string& Cabecalho2);

// The families with a balance other than zero (NMFAMILISALD, VRSALDCONFAM)
// and the total.
ZEL_EXPORT void Saldo_CredPessoal(const std::string& Reservado1, const std::string& Reservado2,
                                  const std::string& EsquemaCor, const std::string& Titulo,
                                  zel::Dataset& Saldos);

// The negative balances grouped by consumer type, from the types' current
// row. True when a group was printed; with none nothing reaches the printer.
// The consumers' filter is restored on return.
ZEL_EXPORT bool SaldoNegativo(const std::string& Reservado1, const std::string& EsquemaCor,
                              zel::Dataset& TiposConsumidor, zel::Dataset& Consumidores,
                              const std::string& Titulo, const std::string& Caixa,
                              const std::string& Reservado7, const std::string& Reservado8);

// The blocked products of a shop. Always true.
ZEL_EXPORT bool ImprimeProdBloq(const std::string& EsquemaCor, const std::string& Reservado2,
                                const std::string& Reservado3, zel::Dataset& Produtos);

// The account statement: by family from `Familias` and `Movimentos` when
// the options' IDEMISEXTRSIMPL is "S", else from `ExtratoDs` alone (from its
// current row), with the sale items of each sale and the sum of the family
// balances. True when anything was printed. Filters are restored on return.
ZEL_EXPORT bool Extrato(const std::string& Reservado1, const std::string& EsquemaCor,
                        zel::Dataset& Opcoes, zel::Dataset& Familias, zel::Dataset& Movimentos,
                        zel::Dataset& ItensVenda, zel::Dataset& SaldosFamilia,
                        const std::string& Reservado8, const std::string& Titulo,
                        const std::string& Caixa, const std::string& Cabecalho1,
                        const std::string& Cabecalho2, zel::Dataset& ExtratoDs);

// --- Consumer debit receipts and credit cancellation ----------------------------

// The receipt of a sale paid from a consumer's account, as a linked
// receipt. `Produtos` is a data packet (CDARVPROD, NMPRODUTO, QTPRODCOMVEN,
// VRPRECCOMVEN). A total that rounds to 0 prints nothing and gives true.
// `Modo` "2" leaves out the final balance. False when a step failed; the
// receipt is closed all the same.
ZEL_EXPORT bool Comp_DebitoCons(const std::string& EsquemaCor, const zel::Variant& Produtos,
                                double Total, const std::string& FormaPgto,
                                const std::string& CdConsumidor, const std::string& NmConsumidor,
                                const std::string& CdCliente, const std::string& Cliente2,
                                const std::string& SenhaPedido, double SaldoParte1,
                                double PrecoSubsidiado, double Complemento,
                                const std::string& Modo);

// A short debit ticket in a management report, each step logged. `Itens`:
// QTPRODCOMVEN, VRPRECCOMVEN, VRDESCCOMVEN, NMPRODUTO.
ZEL_EXPORT void ImpDebito_Consumidor(const std::string& Reservado1, const std::string& Reservado2,
                                     const std::string& EsquemaCor, const std::string& SenhaPedido,
                                     const std::string& NmConsumidor, const std::string& LinhaCaixa,
                                     const std::string& Observacao, double SaldoAnterior,
                                     double ValorAcrescido, zel::Dataset& Itens);

// The receipt of a cancelled credit purchase, then the non-fiscal receipt of
// `Valor` on totalizer `IdTotCanc` in `FormaPgto`. `NrCupom` receives the
// linked receipt's number. The verdict of that last receipt; false at once
// when the first one-cent receipt is refused.
ZEL_EXPORT bool Cancela_Cred_Pessoal(const std::string& IdTotCanc, const std::string& Reservado2,
                                     const std::string& Reservado3, const std::string& Reservado4,
                                     const std::string& EsquemaCor, std::string& NrCupom,
                                     const std::string& NrDeposito, const std::string& CdCliente,
                                     const std::string& NmConsumidor,
                                     const std::string& Reservado10, const std::string& FormaPgto,
                                     double Valor, double SaldoFinal, const std::string& NmFamilia);

}  // namespace Zel00101

#endif  // ZEL_CREDIT_OPERATIONS_H_
